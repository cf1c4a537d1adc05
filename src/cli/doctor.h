#pragma once

#include "cli/cli_services.h"
#include "cli/command_line.h"

namespace treadkey {

// 'treadkeyctl doctor': why the pedal cannot be opened, check by check. Returns the exit code: done when the
// pedal can be opened for writing.
int RunDoctor(const Invocation& invocation, CliServices& services);

} // namespace treadkey
