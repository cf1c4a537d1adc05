#pragma once

#include "cli/commands/command.h"

#include <memory>
#include <string_view>
#include <vector>

namespace treadkey {

// The commands of treadkeyctl, in the order the overview lists them; each makes a fresh command for a run.
const std::vector<CommandMaker>& CommandTable();

// A fresh command of that name; none for a name no command has.
std::unique_ptr<Command> MakeCommand(std::string_view name);

// The message for a name no command has, with the closest command's name.
std::string UnknownCommand(std::string_view name);

} // namespace treadkey
