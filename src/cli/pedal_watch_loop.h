#pragma once

#include "cli/cli_services.h"
#include "hid/input_changes.h"
#include "stacks/hid_backend.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace treadkey {

// One press or release as it arrived, with where from.
struct WatchedEvent {
    const PedalEvent& event;
    const std::string& path;                    // the interface that sent it
    std::span<const std::uint8_t> report;       // the raw report it was read from
    std::chrono::system_clock::time_point when; // when the report was read
    std::string pedal; // the identity of the interface's pedal; its path when the pedal is not known
};

// What a watch does with what the pedal sends: monitor, identify and verify each have their own.
class PressHandler {
public:
    virtual ~PressHandler() = default;
    // Said when the watch starts and each time it starts over.
    virtual void Prompt() {}
    // Returns whether the watch starts over: the time given counts again from now.
    virtual bool Take(const WatchedEvent& event) = 0;
    // Whether it has all it waits for: the watch ends.
    virtual bool Done() const = 0;
    // The time given passed: the exit code to end with, or nothing to start over.
    virtual std::optional<int> TimeUp() = 0;
};

struct WatchOptions {
    std::optional<std::chrono::milliseconds> timeout; // how long to wait; nothing to wait until stopped
    std::string pedal;                                // watch this pedal alone; empty for every pedal
    // Hold the pedal's keystrokes from the desktop meanwhile, so that a slot holding Ctrl+C or Alt+F4 does no
    // harm while it is pressed.
    bool holdKeys = false;
};

// Watches every keyboard and mouse interface of the pedal, read only, handing each press and release to
// `handler` as it arrives, until SIGINT or SIGTERM, the handler is done or its time is up. Follows the pedal
// through unplug and replug, saying so on stderr. Returns 0, or the exit code TimeUp gave.
int WatchPedal(HidBackend& backend, const WatchOptions& options, PressHandler& handler,
               CliServices& services);

// ", waiting until it is pressed (--timeout S stops waiting)" without a timeout, else " within 5 seconds":
// without --timeout the wait has no end, which the user would otherwise take for a hang.
std::string WaitWords(const std::optional<std::chrono::milliseconds>& timeout, std::string_view pressed);

// Says that nothing was pressed within the timeout and returns the exit code: the exit code alone would leave
// a script's user guessing whether the watch ran at all.
int NothingPressedWithin(std::chrono::milliseconds timeout, CliServices& services);

} // namespace treadkey
