#pragma once

#include "cli/commands.h"

#include <string>

namespace treadkey {

inline constexpr std::string_view kProgramName = "treadkeyctl";

// `treadkeyctl --help`: every command and the options they share.
std::string OverviewHelp();

// `treadkeyctl help COMMAND` and `treadkeyctl COMMAND --help`.
std::string CommandHelp(const CommandSpec& command);

} // namespace treadkey
