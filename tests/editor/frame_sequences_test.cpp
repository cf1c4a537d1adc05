#include "editor/frame_sequences.h"

#include "protocol/frame_layout.h"
#include "protocol/frames.h"
#include "protocol/output_report.h"
#include "protocol/pedal_memory.h"

#include <gtest/gtest.h>

#include <vector>

namespace treadkey {
namespace {

using std::chrono::milliseconds;

// What the pedal holds after a sequence, each frame sent as an eight-byte report.
PedalMemory Applied(const FrameSequence& frames) {
    PedalMemory memory;
    for (const PacedFrame& frame : frames) {
        EXPECT_TRUE(memory.decode(BuildOutputReport(frame.text, 8))) << frame.text;
    }
    return memory;
}

std::vector<milliseconds> Pauses(const FrameSequence& frames) {
    std::vector<milliseconds> pauses;
    for (const PacedFrame& frame : frames) {
        pauses.push_back(frame.pauseBefore);
    }
    return pauses;
}

constexpr WordWriter kKey = WordWriter::KeyCommand;

TEST(KeyAssignmentSequence, LandsInTheSlotAndBothSettingsWordsFiftyMillisecondsApart) {
    const FrameSequence frames = KeyAssignmentSequence("3", 0x03, 4, 300, true);
    EXPECT_EQ(Pauses(frames),
              (std::vector<milliseconds>{milliseconds{0}, milliseconds{50}, milliseconds{50}}));
    const PedalMemory memory = Applied(frames);
    EXPECT_EQ(memory.slot(3), (MemoryWord{{0x03, 0x04, 0x00, 0x00}, kKey}));
    EXPECT_EQ(memory.wordAt(kPlaybackAddress), (MemoryWord{{0x79, 0x01, 0x01, 0x2C}, kKey}));
    EXPECT_EQ(memory.wordAt(kSingleOutputAddress), (MemoryWord{{0x79, 0x01, 0x01, 0x00}, kKey}));
    EXPECT_EQ(memory.ignoredFrameCount(), 0);
}

TEST(DelaySettingsSequence, IsTheKeyAssignmentWithoutItsKeyFrame) {
    const FrameSequence assignment = KeyAssignmentSequence("1", 0, 4, 65535, false);
    const FrameSequence settings = DelaySettingsSequence(65535, false);
    ASSERT_EQ(settings.size(), 2u);
    EXPECT_EQ(settings[0].pauseBefore, milliseconds{0});
    EXPECT_EQ(settings[1], assignment[2]);
    EXPECT_EQ(settings[0].text, assignment[1].text);
    EXPECT_EQ(Applied(settings).wordAt(kPlaybackAddress), (MemoryWord{{0x79, 0x01, 0xFF, 0xFF}, kKey}));
}

TEST(ClearAllSequence, ClearsEveryWordBackToBack) {
    const FrameSequence frames = ClearAllSequence();
    EXPECT_EQ(Pauses(frames), std::vector<milliseconds>(kWordCount, milliseconds{0}));
    PedalMemory memory = Applied(KeyAssignmentSequence("12", 0xFF, 40, 7, true));
    for (const PacedFrame& frame : frames) {
        memory.decode(BuildOutputReport(frame.text, 8));
    }
    for (int address = 0; address <= kLastAddress; address += kWordSize) {
        EXPECT_EQ(memory.wordAt(address), (MemoryWord{{0xFF, 0xFF, 0xFF, 0xFF}, kKey})) << address;
    }
}

TEST(MouseFrame, IsDecodedAsAMouseEntryCarryingTheMarker) {
    PedalMemory memory;
    ASSERT_TRUE(memory.decode(BuildOutputReport(MouseFrame("12", 4), 8)));
    EXPECT_EQ(memory.slot(12), (MemoryWord{{kMouseMarker, 0x04, 0x00, 0x00}, WordWriter::MouseCommand}));
}

TEST(Frames, SlotsOutsideTheMemoryAreRefusedByThePedal) {
    // The slot box takes any number: slot 0 addresses FC and slot 33 addresses 80, both past the last word.
    for (const char* slot : {"0", "33", "-3"}) {
        PedalMemory memory;
        EXPECT_FALSE(memory.decode(BuildOutputReport(KeyFrame(slot, 0, 4), 8))) << slot;
        EXPECT_EQ(memory.ignoredFrameCount(), 1) << slot;
    }
}

} // namespace
} // namespace treadkey
