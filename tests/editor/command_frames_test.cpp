#include "editor/mouse_buttons.h"
#include "protocol/frames.h"
#include "protocol/slot_number.h"

#include <gtest/gtest.h>
#include <string>

namespace treadkey {
namespace {

TEST(SlotNumber, AddressAndLogNumberForAnySlotText) {
    const struct {
        const char* text;
        const char* address;
        const char* logged;
    } cases[] = {
        {"1", "00", "1"},
        {"3", "08", "3"},
        {"12", "2C", "12"},
        {"0", "FC", "0"},
        {"", "FC", "0"},
        {"abc", "FC", "0"},
        {"-3", "F0", "-3"},
        {"2.5", "06", "2.5"},
        {"1e9", "00", "1"},
        {"65", "00", "65"},
        {"65.5", "02", "65.5"},
        {" 7x", "18", "7"},
        {"99999999999999999999", "FC", "100000000000000000000"},
        {"100000", "7C", "100000"},
        {"0.0001", "FC", "0.0001"},
        {"123456789012345678", "3C", "123456789012346000"},
        {"0.1234567890123456", "FC", "0.123456789012346"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SlotAddressHex(c.text), c.address) << '"' << c.text << '"';
        EXPECT_EQ(SlotNumberText(c.text), c.logged) << '"' << c.text << '"';
    }
}

TEST(SlotNumber, HugeTextsKeepTheirLowByteWithoutOverflow) {
    // 400 digits saturate the reading; the address is still a defined byte.
    const std::string huge(400, '9');
    EXPECT_EQ(SlotAddressHex(huge).size(), 2u);
    EXPECT_EQ(SlotAddressHex("-" + huge).size(), 2u);
}

TEST(KeyCommand, ComposesTheKeyFrame) {
    const struct {
        const char* slot;
        std::uint8_t modifiers;
        double code;
        const char* frame;
    } cases[] = {
        {"3", 0x03, 4, "aa 01 08 03 04 00 00"},   {"1", 0x01, 0, "aa 01 00 01 00 00 00"},
        {"1", 0xFF, 4, "aa 01 00 FF 04 00 00"},   {"1", 0x11, 4, "aa 01 00 11 04 00 00"},
        {"12", 0x00, 58, "aa 01 2C 00 3A 00 00"}, {"1", 0x06, 40, "aa 01 00 06 28 00 00"},
        {"1", 0x00, 101, "aa 01 00 00 65 00 00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyFrame(c.slot, c.modifiers, c.code), c.frame);
    }
}

TEST(MouseCommand, FramesCarryTheMarkerAndTheButtonBit) {
    EXPECT_EQ(MouseFrame("1", kMouseButtons[0].code), "aa 02 00 FE 01 00 00");
    EXPECT_EQ(MouseFrame("12", kMouseButtons[1].code), "aa 02 2C FE 04 00 00");
    EXPECT_EQ(MouseFrame("2", kMouseButtons[2].code), "aa 02 04 FE 02 00 00");
}

} // namespace
} // namespace treadkey
