#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// The pedal is given this long between the frames of one assignment.
inline constexpr std::chrono::milliseconds kPauseBetweenFrames{50};

// One frame of an action, sent after its pause.
struct PacedFrame {
    std::string text;
    std::chrono::milliseconds pauseBefore{0};

    bool operator==(const PacedFrame&) const = default;
};
using FrameSequence = std::vector<PacedFrame>;

// Frames sent one after another, kPauseBetweenFrames apart.
FrameSequence Paced(const std::vector<std::string>& frames);

// The actions of more than one frame, as both the window and the command line send them.

// Storing the key delay and single output: the delay frame, then the single-output frame.
FrameSequence DelaySettingsSequence(double delay, bool singleOutput);
// Storing a key in a slot: the key frame, then the delay settings.
FrameSequence KeyAssignmentSequence(std::string_view slotText, std::uint8_t modifierByte, double keyCode,
                                    double delay, bool singleOutput);
// Clearing every word: the 32 clear frames back to back.
FrameSequence ClearAllSequence();

} // namespace treadkey
