#pragma once

#include "editor/frame_sequences.h"
#include "editor/key_combo.h"
#include "protocol/frame_layout.h"
#include "protocol/playback_word.h"
#include "json/json.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace treadkey {

// What profiles and the command line accept: stricter than the window's free-text boxes, which take any
// leading number.
inline constexpr int kFirstSlot = 1;
inline constexpr int kLastSlot = kSlotCount;
inline constexpr int kMaxKeyDelay = 65535; // milliseconds; the delay frame holds 16 bits

// What a profile puts into one slot.
struct SlotContent {
    enum class Kind { Key, Mouse, Cleared };
    Kind kind = Kind::Cleared;
    KeyCombo key;                // for Key
    std::size_t mouseButton = 0; // for Mouse: index into kMouseButtons
};

// A pedal configuration read from a JSON file. What it leaves out stays as it is on the pedal.
struct Profile {
    std::array<std::optional<SlotContent>, kLastSlot> slots; // slots[0] is slot 1
    std::optional<PlaybackWord> playbackWord;                // always one that a frame stores
    std::optional<bool> singleOutput;
};

struct ParsedProfile {
    std::optional<Profile> profile;
    JsonError error; // the first fault, syntax or meaning, and where it is, when there is no profile
};

// Reads and checks a whole profile:
//   { "slots": { "1": {"key": "ctrl+shift+a"}, "2": {"mouse": "left"}, "3": null },
//     "delay": 0, "single_output": false, "playback": "loop", "auto_run": true }
// Every member is optional, but a profile must set something; null clears a slot. delay, playback and
// auto_run share one word on the pedal: they come together, as a combination that a frame stores.
ParsedProfile ParseProfile(std::string_view text);

// What applying a profile writes: its slots in slot order (key, mouse or clear frame), then the one frame of
// its playback word and single output, each that it sets, 50 ms apart.
FrameSequence ProfileFrames(const Profile& profile);

} // namespace treadkey
