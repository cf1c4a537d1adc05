#pragma once

#include "cli/cli_services.h"

#include <string>
#include <vector>

namespace treadkey {

// One run of treadkeyctl on its arguments (argv[0] left out). Returns the exit code.
int RunTreadkeyctl(const std::vector<std::string>& arguments, CliServices& services);

} // namespace treadkey
