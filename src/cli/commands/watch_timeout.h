#pragma once

#include "cli/commands/command.h"

#include <chrono>
#include <optional>

namespace treadkey {

// --timeout S of the commands that watch the pedal, 1 to 86400: a day of waiting, and no more, stays in an
// int. Nothing when it is not given; throws UsageError.
std::optional<std::chrono::milliseconds> ReadWatchTimeout(const CommandArguments& arguments);

} // namespace treadkey
