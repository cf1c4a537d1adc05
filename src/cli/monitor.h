#pragma once

#include "cli/cli_services.h"
#include "cli/pedal_names.h"
#include "cli/slot_verification.h"
#include "stacks/hid_backend.h"

#include <chrono>
#include <optional>
#include <string>

namespace treadkey {

struct MonitorOptions {
    bool json = false;
    std::optional<int> count;                         // stop after this many events
    std::optional<std::chrono::milliseconds> timeout; // stop after this long
    std::string pedal;                                // watch this pedal alone; empty for every pedal
    // Identify instead: print the pedal of the first press (with its name from `names`) and stop.
    bool identify = false;
    PedalNames names;
    // Verify instead: ask for each slot's press in turn and hold the pedal's keystrokes from the desktop
    // meanwhile; the timeout is each slot's.
    SlotVerification* verify = nullptr;
};

// Watches every keyboard and mouse interface of the pedal, read only, and prints one line for each press and
// release as it arrives, until SIGINT or SIGTERM, the count or the timeout. Follows the pedal through unplug
// and replug, saying so on stderr. Returns 0, or 1 when the timeout passed with no event at all (with
// identify: no press), which stderr says; verifying, what the verification's exit code says.
int MonitorPedal(HidBackend& backend, const MonitorOptions& options, CliServices& services);

} // namespace treadkey
