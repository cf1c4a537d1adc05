#pragma once

#include "arguments/option_table.h"

#include <array>
#include <cstddef>
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

// The options every command takes, in two tables because --help lists the pedal options between them. They
// are spelled exactly so or not at all: "--help=x" is an unknown option.
constexpr std::string_view kDryRunOption = "--dry-run";
constexpr std::string_view kHelpOption = "--help";
constexpr std::string_view kVersionOption = "--version";
inline constexpr std::array<OptionSpec, 1> kDryRunOptions = {{
    {.name = kDryRunOption,
     .help = "print the reports as hex lines instead of writing them",
     .onlyAsIs = true},
}};
inline constexpr std::array<OptionSpec, 2> kHelpOptions = {{
    {.name = kHelpOption,
     .help = "show help and exit (also 'treadkeyctl help COMMAND')",
     .alias = "-h",
     .onlyAsIs = true},
    {.name = kVersionOption, .help = "show the version and exit", .alias = "-V", .onlyAsIs = true},
}};

} // namespace treadkey
