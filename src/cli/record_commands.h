#pragma once

#include "cli/cli_services.h"
#include "cli/command_line.h"
#include "cli/pedal_names.h"

#include <string>
#include <vector>

namespace treadkey {

// 'treadkeyctl show' and 'export': they read a pedal's record, so the pedal need not be plugged in when
// --pedal names it. Return the exit code.
int ShowPedalRecord(const Invocation& invocation, const std::vector<std::string>& present,
                    const PedalNames& names, CliServices& services);
int ExportPedalRecord(const Invocation& invocation, const std::vector<std::string>& present,
                      const PedalNames& names, CliServices& services);

// 'treadkeyctl verify' on the pedal chosen (`pedal`, empty for the one plugged in).
int VerifyPedal(const Invocation& invocation, HidBackend& backend, const std::string& pedal,
                const std::vector<std::string>& present, CliServices& services);

} // namespace treadkey
