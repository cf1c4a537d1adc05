#pragma once

#include "device/option_table.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace treadkey {

// The commands of treadkeyctl: what each takes and its help.

enum class CommandId { Help, List, Keys, Key, Mouse, Playback, ClearAll, Raw, Apply };

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

} // namespace treadkey
