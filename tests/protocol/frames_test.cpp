#include "protocol/frames.h"

#include "protocol/frame_layout.h"
#include "protocol/output_report.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

TEST(Frames, CarryTheSettingsWords) {
    const struct {
        std::string frame;
        const char* expected;
    } cases[] = {
        {PlaybackFrame(true, false), "AA 01 7C 79 00 00 00"},
        {PlaybackFrame(true, true), "AA 01 7C 79 01 00 00"},
        {PlaybackFrame(false, false), "AA 01 7C 00 00 00 00"},
        {PlaybackFrame(false, true), "AA 01 7C 00 01 00 00"},
        {KeyDelayFrame(300), "AA 01 7C 79 01 01 2C"},
        {KeyDelayFrame(0), "AA 01 7C 79 01 00 00"},
        {KeyDelayFrame(65535), "AA 01 7C 79 01 FF FF"},
        {KeyDelayFrame(40000), "AA 01 7C 79 01 9C 40"},
        {KeyDelayFrame(-5), "AA 01 7C 79 01 FF FB"},
        {KeyDelayFrame(12.5), "AA 01 7C 79 01 00 0C"},
        {SingleOutputFrame(0), "AA 01 78 79 01 00 00"},
        {SingleOutputFrame(1), "AA 01 78 79 01 01 00"},
        {ClearFrame(0), "AA 01 00 FF FF FF FF"},
        {ClearFrame(1), "AA 01 04 FF FF FF FF"},
        {ClearFrame(kWordCount - 1), "AA 01 7C FF FF FF FF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.frame, c.expected);
    }
}

TEST(ClearFrame, ReachesEveryAddressInRisingOrder) {
    for (int counter = 0; counter < kWordCount; ++counter) {
        const auto address = static_cast<std::uint8_t>(counter * 4);
        const std::vector<std::uint8_t> expected{0x00, 0xAA, 0x01, address, 0xFF, 0xFF, 0xFF, 0xFF};
        EXPECT_EQ(BuildOutputReport(ClearFrame(counter), 8), expected) << counter;
    }
}

} // namespace
} // namespace treadkey
