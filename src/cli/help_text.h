#pragma once

#include "cli/commands/command.h"

#include <array>
#include <string>
#include <string_view>

namespace treadkey {

inline constexpr std::string_view kProgramName = "treadkeyctl";

// The options of the commands that write, and those of every command; --help lists the pedal options between
// them. A flag given "=value" is refused as one that takes no value.
constexpr std::string_view kDryRunOption = "--dry-run";
constexpr std::string_view kHelpOption = "--help";
constexpr std::string_view kVersionOption = "--version";
inline constexpr std::array<OptionSpec, 1> kDryRunOptions = {{
    {.name = kDryRunOption, .help = "print the reports as hex lines instead of writing them"},
}};
inline constexpr std::array<OptionSpec, 2> kHelpOptions = {{
    {.name = kHelpOption, .help = "show help and exit (also 'treadkeyctl help COMMAND')", .alias = "-h"},
    {.name = kVersionOption, .help = "show the version and exit", .alias = "-V"},
}};

// "list [--json]": the name, operands and options, as the usage line and the overview show them.
std::string CommandSynopsis(const CommandDescription& command);

// `treadkeyctl --help`: every command and the options they share.
std::string OverviewHelp();

// `treadkeyctl help COMMAND` and `treadkeyctl COMMAND --help`.
std::string CommandHelp(const CommandDescription& command);

} // namespace treadkey
