#pragma once

#include "editor/key_command.h"
#include "protocol/settings_frames.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace treadkey {

// The pedal is given this long between the frames of one assignment.
inline constexpr std::chrono::milliseconds kPauseBetweenFrames{50};

// What storing a key in a slot writes, in order: the key frame and the two settings frames, each apart from
// the one before by kPauseBetweenFrames.
inline std::array<std::string, 3> KeyAssignmentFrames(std::string_view slotText, std::uint8_t modifierByte,
                                                      double keyCode, double delay, bool singleOutput) {
    return {ComposeKeyCommand(slotText, modifierByte, keyCode), KeyDelayFrame(delay),
            SingleOutputFrame(singleOutput ? 1 : 0)};
}

} // namespace treadkey
