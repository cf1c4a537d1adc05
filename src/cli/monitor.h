#pragma once

#include "cli/cli_services.h"
#include "stacks/hid_backend.h"

#include <chrono>
#include <optional>

namespace treadkey {

struct MonitorOptions {
    bool json = false;
    std::optional<int> count;                         // stop after this many events
    std::optional<std::chrono::milliseconds> timeout; // stop after this long
};

// Watches every keyboard and mouse interface of the pedal, read only, and prints one line for each press and
// release as it arrives, until SIGINT or SIGTERM, the count or the timeout. Follows the pedal through unplug
// and replug, saying so on stderr. Returns 0, or 1 when the timeout passed with no event at all, which
// stderr says.
int MonitorPedal(HidBackend& backend, const MonitorOptions& options, CliServices& services);

} // namespace treadkey
