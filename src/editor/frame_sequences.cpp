#include "editor/frame_sequences.h"

#include "protocol/frame_layout.h"
#include "protocol/frames.h"

namespace treadkey {

FrameSequence Paced(const std::vector<std::string>& frames) {
    FrameSequence sequence;
    for (const std::string& frame : frames) {
        sequence.push_back({frame, sequence.empty() ? std::chrono::milliseconds{0} : kPauseBetweenFrames});
    }
    return sequence;
}

FrameSequence DelaySettingsSequence(double delay, bool singleOutput) {
    return Paced({KeyDelayFrame(delay), SingleOutputFrame(singleOutput ? 1 : 0)});
}

FrameSequence KeyAssignmentSequence(std::string_view slotText, std::uint8_t modifierByte, double keyCode,
                                    double delay, bool singleOutput) {
    return Paced({KeyFrame(slotText, modifierByte, keyCode), KeyDelayFrame(delay),
                  SingleOutputFrame(singleOutput ? 1 : 0)});
}

FrameSequence ClearAllSequence() {
    FrameSequence sequence;
    for (int counter = 0; counter < kWordCount; ++counter) {
        sequence.push_back({ClearFrame(counter)});
    }
    return sequence;
}

} // namespace treadkey
