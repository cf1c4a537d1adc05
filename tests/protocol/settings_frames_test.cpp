#include "protocol/settings_frames.h"

#include "protocol/output_report.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

TEST(SettingsFrames, CarryTheSettingsWords) {
    const struct {
        std::string frame;
        const char* expected;
    } cases[] = {
        {PlaybackWordFrame(true, false), "AA 01 7C 79 00 00 00"},
        {PlaybackWordFrame(true, true), "AA 01 7C 79 01 00 00"},
        {PlaybackWordFrame(false, false), "AA 01 7C 00 00 00 00"},
        {PlaybackWordFrame(false, true), "AA 01 7C 00 01 00 00"},
        {KeyDelayFrame(300), "AA 01 7C 79 01 01 2C"},
        {KeyDelayFrame(0), "AA 01 7C 79 01 00 00"},
        {KeyDelayFrame(65535), "AA 01 7C 79 01 FF FF"},
        {KeyDelayFrame(40000), "AA 01 7C 79 01 9C 40"},
        {KeyDelayFrame(-5), "AA 01 7C 79 01 FF FB"},
        {KeyDelayFrame(12.5), "AA 01 7C 79 01 00 0C"},
        {SingleOutputFrame(0), "AA 01 78 79 01 00 00"},
        {SingleOutputFrame(1), "AA 01 78 79 01 01 00"},
        {SlotClearFrame(0), "AA 01 00 FF FF FF FF"},
        {SlotClearFrame(1), "AA 01 04 FF FF FF FF"},
        {SlotClearFrame(kSlotAddressCount - 1), "AA 01 7C FF FF FF FF"},
        {KeyDelayLogLine(true, 300), "按键延时响应时间: 300 ms"},
        {KeyDelayLogLine(false, 0), "Key Delay:  0 ms"},
        {KeyDelayLogLine(false, 65535), "Key Delay:  65535 ms"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.frame, c.expected);
    }
}

TEST(SlotClearFrame, ReachesEveryAddressInRisingOrder) {
    for (int counter = 0; counter < kSlotAddressCount; ++counter) {
        const auto address = static_cast<std::uint8_t>(counter * 4);
        const std::vector<std::uint8_t> expected{0x00, 0xAA, 0x01, address, 0xFF, 0xFF, 0xFF, 0xFF};
        EXPECT_EQ(BuildOutputReport(SlotClearFrame(counter), 8), expected) << counter;
    }
}

} // namespace
} // namespace treadkey
