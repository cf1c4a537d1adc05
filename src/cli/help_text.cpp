#include "cli/help_text.h"

#include "arguments/option_table.h"
#include "cli/commands/command_table.h"
#include "stack_choice/backend_options.h"

namespace treadkey {
namespace {

constexpr std::size_t kCommandColumn = 42; // where command summaries start in the overview

std::string SharedOptions() {
    return std::string(BackendOptionsHelp()) + "\n" + OptionHelp(kHelpOptions) + "\n";
}

// "key, mouse, ...": the commands --dry-run goes with.
std::string WritingCommands() {
    std::string names;
    for (const CommandMaker make : CommandTable()) {
        const std::unique_ptr<Command> command = make();
        if (command->Description().Writes()) {
            names += (names.empty() ? "" : ", ") + std::string(command->Description().name);
        }
    }
    return names;
}

constexpr std::string_view kExitStatus =
    "Exit status:\n"
    "  0  done\n"
    "  1  no pedal found, a pedal that cannot be opened, a failed write, or a\n"
    "     monitor's timeout with nothing sent\n"
    "  2  a usage error, a faulty profile, or a pedal not told apart from others\n"
    "     (--pedal), with nothing written\n";

} // namespace

std::string OverviewHelp() {
    std::string help =
        "Usage: " + std::string(kProgramName) + " [OPTION]... COMMAND [ARGUMENT]...\n" +
        "Writes key and mouse assignments and settings into the USB pedal switch (vendor 2704,\n" +
        "product 2018), as the treadkey-setup window does.\n\nCommands:\n";
    for (const CommandMaker make : CommandTable()) {
        const std::unique_ptr<Command> made = make();
        const CommandDescription& command = made->Description();
        // A synopsis that leaves fewer than two blanks before the summaries' column has its summary on a line
        // of its own, so that every summary starts in the column.
        const std::string row = "  " + CommandSynopsis(command);
        const bool fits = row.size() + 2 <= kCommandColumn;
        help +=
            row +
            (fits ? std::string(kCommandColumn - row.size(), ' ') : "\n" + std::string(kCommandColumn, ' ')) +
            std::string(command.summary) + "\n";
    }
    return help + "\nOptions for the commands that write (" + WritingCommands() + "):\n" +
           OptionHelp(kDryRunOptions) + "\n\nOptions for every command:\n" + SharedOptions() + "\n" +
           std::string(kExitStatus);
}

std::string CommandSynopsis(const CommandDescription& command) {
    std::string synopsis(command.name);
    if (!command.operands.empty()) {
        synopsis += " " + std::string(command.operands);
    }
    for (const OptionSpec& option : command.options) {
        if (command.operands.find(option.name) == std::string_view::npos) {
            synopsis += " [" + std::string(option.name) +
                        (option.valueName.empty() ? "" : " " + std::string(option.valueName)) + "]";
        }
    }
    return synopsis;
}

std::string CommandHelp(const CommandDescription& command) {
    std::string help = "Usage: " + std::string(kProgramName) + " [OPTION]... " + CommandSynopsis(command) +
                       "\n" + std::string(command.details);
    std::string options = OptionHelp(command.options);
    if (command.Writes()) {
        options += (options.empty() ? "" : "\n") + OptionHelp(kDryRunOptions);
    }
    if (!options.empty()) {
        help += "\nOptions:\n" + options + "\n";
    }
    return help + "\nOptions for every command:\n" + SharedOptions() + "\n" + std::string(kExitStatus);
}

} // namespace treadkey
