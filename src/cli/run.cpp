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

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace treadkey {
namespace {

int Fail(CliServices& services, const std::string& message, int exitCode) {
    services.err << kProgramName << ": " << message << '\n';
    return exitCode;
}

int ApplyProfile(const Invocation& invocation, CliServices& services) {
    const std::string& path = invocation.profilePath;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        return Fail(services, "cannot read " + path + ": " + std::strerror(errno), kExitUsageError);
    }
    const ParsedProfile parsed = ParseProfile(text.str());
    if (!parsed.profile) {
        return Fail(services,
                    path + ":" + std::to_string(parsed.error.position.line) + ":" +
                        std::to_string(parsed.error.position.column) + ": " + parsed.error.message,
                    kExitUsageError);
    }
    return WriteFrames(ProfilePlan(*parsed.profile), invocation.backend, invocation.dryRun, services);
}

} // namespace

int RunTreadkeyctl(const std::vector<std::string>& arguments, CliServices& services) {
    const ParsedInvocation parsed = ParseCommandLine(arguments);
    if (!parsed.invocation) {
        return Fail(services, parsed.error, kExitUsageError);
    }
    const Invocation& invocation = *parsed.invocation;
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
