#include "cli/run.h"

#include "arguments/shown_text.h"
#include "cli/command_line.h"
#include "cli/doctor.h"
#include "cli/exit_codes.h"
#include "cli/frame_writer.h"
#include "cli/help_text.h"
#include "cli/interface_list.h"
#include "cli/key_list.h"
#include "cli/monitor.h"
#include "cli/pedal_choice.h"
#include "cli/record_commands.h"
#include "editor/profile.h"
#include "editor/profile_encoding.h"
#include "editor/profile_file.h"
#include "pedal/interface_choice.h"
#include "protocol/pedal_ids.h"
#include "stack_choice/virtual_pedal_files.h"

#include <algorithm>

namespace treadkey {
namespace {

int Fail(CliServices& services, const std::string& message, int exitCode) {
    services.err << kProgramName << ": " << message << '\n';
    return exitCode;
}

// Nicknames are a convenience: a file that cannot be read is said and the run goes on without them.
PedalNames LoadNames(CliServices& services) {
    if (!services.pedalNamesFile) {
        return {};
    }
    LoadedNames loaded = LoadPedalNames(*services.pedalNamesFile);
    if (!loaded.error.empty()) {
        services.err << kProgramName << ": warning: pedal names not read: " << loaded.error << '\n';
    }
    return std::move(loaded.names);
}

std::vector<std::string> PresentPedals(HidBackend& backend) {
    DiscoveryReport report;
    DiscoverInterfaces(backend, kPedalVendorId, kPedalProductId, Opening::None, report);
    return report.pedals;
}

int NamePedal(const Invocation& invocation, const std::vector<std::string>& present, const PedalNames& names,
              CliServices& services) {
    const PedalChoice choice = ChoosePedal(present, invocation.namedPedal, names, false);
    if (!choice.error.empty() || choice.pedal.empty()) {
        return Fail(services, choice.error.empty() ? "name needs a pedal's identity" : choice.error,
                    kExitUsageError);
    }
    const std::string& nickname = invocation.nickname;
    // A line break or an escape sequence in a name would break every line that shows it.
    if (std::any_of(nickname.begin(), nickname.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; })) {
        return Fail(services,
                    "a nickname cannot hold control characters, as '" + ShownText(nickname) + "' does",
                    kExitUsageError);
    }
    for (const auto& [pedal, name] : names) {
        if (name == nickname && pedal != choice.pedal) {
            return Fail(services, "'" + ShownText(nickname) + "' already names " + ShownText(pedal),
                        kExitUsageError);
        }
    }
    if (std::find(present.begin(), present.end(), nickname) != present.end()) {
        return Fail(services,
                    "'" + ShownText(nickname) + "' is a pedal's identity, so it cannot be a nickname",
                    kExitUsageError);
    }
    if (!services.pedalNamesFile) {
        return Fail(services, "no place to keep names: set XDG_STATE_HOME or HOME", kExitDeviceError);
    }
    if (const std::string error = SavePedalName(*services.pedalNamesFile, choice.pedal, nickname);
        !error.empty()) {
        return Fail(services, error, kExitDeviceError);
    }
    services.out << ShownText(choice.pedal)
                 << (nickname.empty() ? std::string(" has no nickname now")
                                      : " is now called '" + ShownText(nickname) + "'")
                 << '\n';
    return kExitDone;
}

int ApplyProfile(const Invocation& invocation, HidBackend& backend, const std::string& pedal,
                 CliServices& services) {
    const std::string name = invocation.profilePath == kStandardInputPath
                                 ? "standard input"
                                 : ShownFileName(invocation.profilePath);
    const ProfileBytes read = ReadProfileBytes(invocation.profilePath, *services.in);
    if (!read.fault.empty()) {
        return Fail(services, read.fault, kExitUsageError);
    }
    const ProfileText text = ProfileTextOf(read.bytes);
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
    return WriteFrames(ProfilePlan(*parsed.profile), backend, invocation.backend, pedal, invocation.dryRun,
                       services);
}

// What keeps the virtual pedal from doing what is asked, told before anything opens: a file it cannot use,
// or a watch on a pedal that will never have anything to watch.
std::string PedalProblem(const Invocation& invocation) {
    const BackendOptions& backend = invocation.backend;
    using Action = Invocation::Action;
    const bool usesPedal = invocation.action == Action::List || invocation.action == Action::Monitor ||
                           invocation.action == Action::Identify || invocation.action == Action::Name ||
                           invocation.action == Action::Write || invocation.action == Action::Apply ||
                           invocation.action == Action::Verify;
    const bool watches = invocation.action == Action::Monitor || invocation.action == Action::Identify ||
                         invocation.action == Action::Verify;
    if (!usesPedal || !backend.useVirtualPedal) {
        return "";
    }
    if (watches && !backend.virtualPedal.composite) {
        return "the virtual pedal has no keyboard or mouse interface to watch: add --virtual-pedal-composite";
    }
    return CheckVirtualPedalFiles(backend.virtualPedal);
}

int RunCommand(const std::vector<std::string>& arguments, CliServices& services) {
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
    case Invocation::Action::Doctor:
        // The virtual pedal opens for anyone, and doctor's lines would pass for its.
        if (invocation.backend.useVirtualPedal) {
            services.err
                << kProgramName
                << ": note: doctor checks the system's real pedal; the virtual pedal needs no access\n";
        }
        return RunDoctor(invocation, services);
    default:
        break;
    }
    // The rest work on the pedals present: on all of them, or on the one --pedal names.
    const std::unique_ptr<HidBackend> backend = services.makeBackend(invocation.backend);
    const PedalNames names = LoadNames(services);
    const std::vector<std::string> present = PresentPedals(*backend);
    if (invocation.action == Invocation::Action::Name) {
        return NamePedal(invocation, present, names, services);
    }
    if (invocation.action == Invocation::Action::Show) {
        return ShowPedalRecord(invocation, present, names, services);
    }
    if (invocation.action == Invocation::Action::Export) {
        return ExportPedalRecord(invocation, present, names, services);
    }
    const bool writes =
        invocation.action == Invocation::Action::Write || invocation.action == Invocation::Action::Apply;
    const PedalChoice choice = ChoosePedal(present, invocation.backend.pedal, names, writes);
    if (!choice.error.empty()) {
        return Fail(services, choice.error, kExitUsageError);
    }
    switch (invocation.action) {
    case Invocation::Action::List:
        return ListPedalInterfaces(*backend, services.lookAtSystem(), invocation.json, choice.pedal, names,
                                   services.out, services.err);
    case Invocation::Action::Monitor:
    case Invocation::Action::Identify: {
        MonitorOptions options = invocation.monitor;
        options.pedal = choice.pedal;
        options.names = names;
        return MonitorPedal(*backend, options, services);
    }
    case Invocation::Action::Write: {
        const int exitCode = WriteFrames(invocation.frames, *backend, invocation.backend, choice.pedal,
                                         invocation.dryRun, services);
        if (exitCode == kExitDone && !invocation.notice.empty()) {
            services.err << kProgramName << ": " << invocation.notice << '\n';
        }
        return exitCode;
    }
    case Invocation::Action::Apply:
        return ApplyProfile(invocation, *backend, choice.pedal, services);
    case Invocation::Action::Verify:
        return VerifyPedal(invocation, *backend, choice.pedal, present, services);
    default:
        return kExitUsageError;
    }
}

} // namespace

// Every command's output is checked once, here: a full disk would otherwise lose it with a run that says
// it succeeded.
int RunTreadkeyctl(const std::vector<std::string>& arguments, CliServices& services) {
    const int exitCode = RunCommand(arguments, services);
    if (services.out.flush()) {
        return exitCode;
    }
    services.err << kProgramName << ": cannot write standard output: what was printed is incomplete\n";
    return exitCode == kExitDone ? kExitDeviceError : exitCode;
}

} // namespace treadkey
