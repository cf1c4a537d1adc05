#pragma once

#include <cstdint>

namespace treadkey {

// Word 0x7C whole: auto-run at power-up, loop or single playback and the key delay share its four bytes
// (79 or 00, 01 or 00, then the delay high byte first), so no frame sets one of them alone.
struct PlaybackWord {
    bool autoRun = false;
    bool loop = false;
    std::uint16_t delay = 0; // milliseconds

    bool operator==(const PlaybackWord&) const = default;
};

} // namespace treadkey
