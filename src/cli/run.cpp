#include "cli/run.h"

#include "cli/command_line.h"
#include "cli/doctor.h"
#include "cli/exit_codes.h"
#include "cli/frame_writer.h"
#include "cli/help_text.h"
#include "cli/interface_list.h"
#include "cli/key_list.h"
#include "cli/monitor.h"
#include "cli/profile.h"
#include "cli/profile_encoding.h"
#include "stack_choice/virtual_pedal_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace treadkey {
namespace {

int Fail(CliServices& services, const std::string& message, int exitCode) {
    services.err << kProgramName << ": " << message << '\n';
    return exitCode;
}

// The whole of a stream; false when reading it failed part way.
bool ReadAll(std::istream& stream, std::string& bytes) {
    bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    return !stream.bad();
}

// Reads the profile named on the command line into bytes; returns why it could not, or "".
std::string ReadProfileBytes(const std::string& path, std::istream& input, std::string& bytes) {
    if (path == kStandardInputPath) {
        return ReadAll(input, bytes) ? "" : "cannot read standard input";
    }
    // A directory opens as a stream that reads as empty: name it for what it is.
    std::error_code notADirectory;
    if (std::filesystem::is_directory(path, notADirectory)) {
        return "cannot read " + path + ": " + std::strerror(EISDIR);
    }
    std::ifstream file(path, std::ios::binary);
    return file && ReadAll(file, bytes) ? "" : "cannot read " + path + ": " + std::strerror(errno);
}

int ApplyProfile(const Invocation& invocation, CliServices& services) {
    const std::string name =
        invocation.profilePath == kStandardInputPath ? "standard input" : invocation.profilePath;
    std::string bytes;
    if (const std::string error = ReadProfileBytes(invocation.profilePath, *services.in, bytes);
        !error.empty()) {
        return Fail(services, error, kExitUsageError);
    }
    const ProfileText text = ProfileTextOf(bytes);
    if (!text.fault.empty()) {
        return Fail(services, name + ": " + text.fault, kExitUsageError);
    }
    const ParsedProfile parsed = ParseProfile(text.json);
    if (!parsed.profile) {
        return Fail(services,
                    name + ":" + std::to_string(parsed.error.position.line) + ":" +
                        std::to_string(parsed.error.position.column) + ": " + parsed.error.message,
                    kExitUsageError);
    }
    return WriteFrames(ProfilePlan(*parsed.profile), invocation.backend, invocation.dryRun, services);
}

// What keeps the virtual pedal from doing what is asked, told before anything opens: a file it cannot use,
// or a watch on a pedal that will never have anything to watch.
std::string PedalProblem(const Invocation& invocation) {
    const BackendOptions& backend = invocation.backend;
    const bool usesPedal =
        invocation.action == Invocation::Action::List || invocation.action == Invocation::Action::Monitor ||
        invocation.action == Invocation::Action::Write || invocation.action == Invocation::Action::Apply;
    if (!usesPedal || !backend.useVirtualPedal) {
        return "";
    }
    if (invocation.action == Invocation::Action::Monitor && !backend.virtualPedal.composite) {
        return "the virtual pedal has no keyboard or mouse interface to watch: add --virtual-pedal-composite";
    }
    return CheckVirtualPedalFiles(backend.virtualPedal);
}

} // namespace

int RunTreadkeyctl(const std::vector<std::string>& arguments, CliServices& services) {
    const ParsedInvocation parsed = ParseCommandLine(arguments);
    if (!parsed.invocation) {
        return Fail(services, parsed.error, kExitUsageError);
    }
    const Invocation& invocation = *parsed.invocation;
    if (const std::string problem = PedalProblem(invocation); !problem.empty()) {
        return Fail(services, problem, kExitUsageError);
    }
    switch (invocation.action) {
    case Invocation::Action::Overview:
        services.out << OverviewHelp();
        return kExitDone;
    case Invocation::Action::CommandHelp:
        services.out << CommandHelp(*invocation.helpCommand);
        return kExitDone;
    case Invocation::Action::Version:
        services.out << kProgramName << " " << TREADKEY_VERSION << '\n';
        return kExitDone;
    case Invocation::Action::Keys:
        PrintKeyNames(services.out);
        return kExitDone;
    case Invocation::Action::List: {
        const std::unique_ptr<HidBackend> backend = services.makeBackend(invocation.backend);
        return ListPedalInterfaces(*backend, services.lookAtSystem(), invocation.json, services.out,
                                   services.err);
    }
    case Invocation::Action::Doctor:
        return RunDoctor(invocation, services);
    case Invocation::Action::Monitor: {
        const std::unique_ptr<HidBackend> backend = services.makeBackend(invocation.backend);
        return MonitorPedal(*backend, invocation.monitor, services);
    }
    case Invocation::Action::Write: {
        const int exitCode = WriteFrames(invocation.frames, invocation.backend, invocation.dryRun, services);
        if (exitCode == kExitDone && !invocation.notice.empty()) {
            services.err << kProgramName << ": " << invocation.notice << '\n';
        }
        return exitCode;
    }
    case Invocation::Action::Apply:
        return ApplyProfile(invocation, services);
    }
    return kExitUsageError;
}

} // namespace treadkey
