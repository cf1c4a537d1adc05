#include "cli/help_text.h"

#include "device/backend_options.h"

namespace treadkey {
namespace {

constexpr std::size_t kOptionColumn = 32;  // where option descriptions start, as in BackendOptionsHelp()
constexpr std::size_t kCommandColumn = 42; // where command summaries start in the overview

std::string Padded(std::string text, std::size_t column) {
    text.resize(std::max(text.size() + 1, column), ' ');
    return text;
}

std::string SharedOptions() {
    return Padded("  --dry-run", kOptionColumn) + "print the reports as hex lines instead of writing them\n" +
           std::string(BackendOptionsHelp()) + "\n" + Padded("  --help", kOptionColumn) +
           "show help and exit (also 'treadkeyctl help COMMAND')\n" + Padded("  --version", kOptionColumn) +
           "show the version and exit\n";
}

std::string Synopsis(const CommandSpec& command) {
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

constexpr std::string_view kExitStatus =
    "Exit status: 0 done; 1 no pedal found, a pedal that cannot be opened, a failed write, or a\n"
    "monitor's timeout with nothing sent;\n"
    "2 a usage error or a faulty profile, with nothing written.\n";

} // namespace

std::string OverviewHelp() {
    std::string help =
        "Usage: " + std::string(kProgramName) + " [OPTION]... COMMAND [ARGUMENT]...\n" +
        "Writes key and mouse assignments and settings into the USB pedal switch (vendor 2704,\n" +
        "product 2018), as the treadkey-setup window does.\n\nCommands:\n";
    for (const CommandSpec& command : Commands()) {
        const std::string synopsis = "  " + Synopsis(command);
        // A synopsis that reaches the summaries' column gets a line of its own.
        help += (synopsis.size() < kCommandColumn ? Padded(synopsis, kCommandColumn)
                                                  : synopsis + "\n" + std::string(kCommandColumn, ' ')) +
                std::string(command.summary) + "\n";
    }
    return help + "\nOptions for every command:\n" + SharedOptions() + "\n" + std::string(kExitStatus);
}

std::string CommandHelp(const CommandSpec& command) {
    std::string help = "Usage: " + std::string(kProgramName) + " [OPTION]... " + Synopsis(command) + "\n" +
                       std::string(command.details);
    if (!command.options.empty()) {
        help += "\nOptions:\n";
        for (const OptionSpec& option : command.options) {
            const std::string text = "  " + std::string(option.name) +
                                     (option.valueName.empty() ? "" : " " + std::string(option.valueName));
            help += Padded(text, kOptionColumn) + std::string(option.help) + "\n";
        }
    }
    return help + "\nOptions for every command:\n" + SharedOptions() + "\n" + std::string(kExitStatus);
}

} // namespace treadkey
