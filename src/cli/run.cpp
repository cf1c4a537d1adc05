#include "cli/run.h"

#include "cli/commands/command_table.h"
#include "cli/help_text.h"
#include "cli/pedal_choice.h"
#include "pedal/interface_choice.h"
#include "protocol/pedal_ids.h"
#include "record/record_file.h"
#include "stack_choice/virtual_pedal_files.h"

namespace treadkey {
namespace {

// The command line, sorted: the command named, its arguments and the options every command takes.
struct SortedLine {
    std::unique_ptr<Command> command; // none when no command was named
    CommandArguments arguments;
};

// Looks at the options every command takes first, then at the options of the command once it is named.
SortedLine Sort(const std::vector<std::string>& arguments) {
    SortedLine sorted;
    ArgumentRules rules;
    rules.tables = {kDryRunOptions, kHelpOptions};
    rules.endOfOptions = ArgumentRules::EndOfOptions::RestArePositional;
    rules.option = [&sorted](const OptionUse& use) {
        const OptionSpec& option = *use.option;
        const std::string name(option.name);
        if (option.valueName.empty()) {
            sorted.arguments.flags.insert(name);
        } else if (use.value) {
            sorted.arguments.values[name] = *use.value;
        } else {
            return name + " needs a value: " + std::string(option.valueName);
        }
        return std::string();
    };
    rules.unknownOption = [&sorted](const std::string& argument) {
        return "unknown option " + Quoted(OptionName(argument)) +
               (sorted.command != nullptr ? " for '" + std::string(sorted.command->Description().name) + "'"
                                          : std::string(" before the command"));
    };
    rules.positional = [&sorted, &rules](const std::string& argument) {
        if (sorted.command != nullptr) {
            sorted.arguments.operands.push_back(argument);
            return std::string();
        }
        sorted.command = MakeCommand(argument);
        if (sorted.command == nullptr) {
            // Short options other than -h and -V are not this program's, but they are still options.
            return argument.starts_with('-') && argument.size() > 1
                       ? "unknown option " + Quoted(argument) + " before the command"
                       : UnknownCommand(argument);
        }
        rules.tables.push_back(sorted.command->Description().options);
        return std::string();
    };
    if (std::string error = WalkArguments(arguments, rules); !error.empty()) {
        throw UsageError{std::move(error)};
    }
    return sorted;
}

// Checks what the command takes; throws UsageError.
void CheckArguments(const CommandDescription& command, const CommandArguments& arguments) {
    if (arguments.operands.size() < command.minOperands || arguments.operands.size() > command.maxOperands) {
        throw UsageError{"usage: treadkeyctl " + CommandSynopsis(command) + " ('treadkeyctl help " +
                         std::string(command.name) + "' tells more)"};
    }
    // Left unsaid, a dry run of a command that writes nothing would pass for one that was checked.
    if (arguments.Has(kDryRunOption) && !command.Writes()) {
        throw UsageError{std::string(kDryRunOption) + " goes with the commands that write; " +
                         Quoted(command.name) + " writes nothing to the pedal"};
    }
}

// What keeps the virtual pedal from doing what is asked, told before anything opens: a file it cannot use,
// or a watch on a pedal that will never have anything to watch.
std::string VirtualPedalRefusal(PedalUse use, const BackendOptions& backend) {
    if (use == PedalUse::None || !backend.useVirtualPedal) {
        return "";
    }
    if (use == PedalUse::Watches && !backend.virtualPedal.composite) {
        return "the virtual pedal has no keyboard or mouse interface to watch: add --virtual-pedal-composite";
    }
    return CheckVirtualPedalFiles(backend.virtualPedal);
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

// Chooses the pedal the command works on, and runs it.
int RunOnPedal(Command& command, const BackendOptions& backend, bool dryRun, CliServices& services) {
    const PedalNeed need = command.Description().need;
    if (need == PedalNeed::None) {
        return command.Run({services, backend, dryRun, nullptr, "", {}, {}});
    }
    const std::unique_ptr<HidBackend> hid = services.makeBackend(backend);
    const PedalNames names = LoadNames(services);
    const std::vector<std::string> present = PresentPedals(*hid);
    const PedalChoice choice = ChoosePedal(need, present, command.AskedPedal(backend), names, [&services] {
        return services.stateDirectory ? RecordedPedals(*services.stateDirectory)
                                       : std::vector<std::string>{};
    });
    if (!choice.error.empty()) {
        return Fail(services, choice.error, choice.exitCode);
    }
    return command.Run({services, backend, dryRun, hid.get(), choice.pedal, names, present});
}

int RunCommand(const std::vector<std::string>& arguments, CliServices& services) {
    const ParsedBackendOptions backend = ParseBackendOptions(arguments);
    if (!backend.error.empty()) {
        return Fail(services, backend.error, kExitUsageError);
    }
    std::unique_ptr<Command> command;
    bool dryRun = false;
    try {
        SortedLine sorted = Sort(backend.rest);
        const CommandArguments& given = sorted.arguments;
        if (given.Has(kVersionOption)) {
            services.out << kProgramName << " " << TREADKEY_VERSION << '\n';
            return kExitDone;
        }
        if (sorted.command == nullptr) {
            if (!given.Has(kHelpOption)) {
                throw UsageError{"no command given ('treadkeyctl --help' lists the commands)"};
            }
            services.out << OverviewHelp();
            return kExitDone;
        }
        if (given.Has(kHelpOption)) {
            services.out << CommandHelp(sorted.command->Description());
            return kExitDone;
        }
        CheckArguments(sorted.command->Description(), given);
        sorted.command->Read(given);
        if (const std::string refusal =
                VirtualPedalRefusal(sorted.command->Description().use, backend.options);
            !refusal.empty()) {
            throw UsageError{refusal};
        }
        command = std::move(sorted.command);
        dryRun = given.Has(kDryRunOption);
    } catch (const UsageError& error) {
        return Fail(services, error.message, kExitUsageError);
    }
    return RunOnPedal(*command, backend.options, dryRun, services);
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
