#pragma once

#include "arguments/option_table.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// The commands of treadkeyctl: what each takes and its help.

enum class CommandId {
    Help,
    List,
    Doctor,
    Keys,
    Monitor,
    Identify,
    Name,
    Key,
    Mouse,
    Playback,
    ClearAll,
    Raw,
    Apply,
    Show,
    Export,
    Verify
};

struct CommandSpec {
    CommandId id;
    std::string_view name;
    std::string_view operands; // as the usage line shows them
    std::size_t minOperands;
    std::size_t maxOperands;
    std::vector<OptionSpec> options;
    std::string_view summary; // one line for the overview
    std::string_view details; // the rest of the command's help
};

const std::vector<CommandSpec>& Commands();
const CommandSpec* FindCommand(std::string_view name);

// Whether the command writes to the pedal, and so takes --dry-run.
bool CommandWrites(const CommandSpec& command);

// "list [--json]": the name, operands and options, as the usage line and the overview show them.
std::string CommandSynopsis(const CommandSpec& command);

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

} // namespace treadkey
