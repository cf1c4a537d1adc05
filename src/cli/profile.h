#pragma once

#include "cli/json.h"
#include "cli/key_combo.h"
#include "cli/value_ranges.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace treadkey {

// What a profile puts into one slot.
struct SlotContent {
    enum class Kind { Key, Mouse, Cleared };
    Kind kind = Kind::Cleared;
    KeyCombo key;                // for Key
    std::size_t mouseButton = 0; // for Mouse: index into kMouseButtons
};

struct PlaybackSetting {
    bool loop = false;
    bool autoRun = false;
};

// A pedal configuration read from a JSON file. What it leaves out stays as it is on the pedal.
struct Profile {
    std::array<std::optional<SlotContent>, kLastSlot> slots; // slots[0] is slot 1
    std::optional<int> delay;
    std::optional<bool> singleOutput;
    std::optional<PlaybackSetting> playback;
};

struct ParsedProfile {
    std::optional<Profile> profile;
    JsonError error; // the first fault, syntax or meaning, and where it is, when there is no profile
};

// Reads and checks a whole profile:
//   { "slots": { "1": {"key": "ctrl+shift+a"}, "2": {"mouse": "left"}, "3": null },
//     "delay": 0, "single_output": false, "playback": "loop", "auto_run": true }
// Every member is optional, but a profile must set something; null clears a slot; playback and auto_run
// share one word on the pedal and come together.
ParsedProfile ParseProfile(std::string_view text);

} // namespace treadkey
