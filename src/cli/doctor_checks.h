#pragma once

#include "cli/cli_services.h"

namespace treadkey {

// 'treadkeyctl doctor': why the pedal cannot be opened, check by check, as lines or (`json`) one document.
// Returns the exit code: done when the pedal can be opened for writing.
int RunDoctorChecks(bool json, CliServices& services);

} // namespace treadkey
