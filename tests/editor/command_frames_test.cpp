#include "editor/key_command.h"
#include "editor/mouse_command.h"
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

TEST(KeyCommand, ListsModifiersInLogOrder) {
    EXPECT_EQ(ModifierLogText(0x00), "");
    EXPECT_EQ(ModifierLogText(0x03), "Ctrl + Shift + ");
    EXPECT_EQ(ModifierLogText(0x06), "Alt + Shift + ");
    EXPECT_EQ(ModifierLogText(0x11), "Ctrl + Ctrl_R + ");
    EXPECT_EQ(ModifierLogText(0xFF), "Ctrl + Alt + Shift + Win + Ctrl_R + Alt_R + Shift_R + Win_R + ");
}

TEST(KeyCommand, LogLineInBothLanguages) {
    EXPECT_EQ(KeyLogLine(true, 0x03, "A", "3"), "写入键值:  < Ctrl + Shift + A > 到地址3");
    EXPECT_EQ(KeyLogLine(false, 0x03, "A", "3"), "Write Key Val:  < Ctrl + Shift + A > To Address:3");
    EXPECT_EQ(KeyLogLine(false, 0x11, "A", "1"), "Write Key Val:  < Ctrl + Ctrl_R + A > To Address:1");
    EXPECT_EQ(KeyLogLine(false, 0x00, "F1", "abc"), "Write Key Val:  < F1 > To Address:0");
}

TEST(MouseCommand, FramesCarryTheMarkerAndTheButtonBit) {
    EXPECT_EQ(MouseFrame("1", kMouseButtons[0].code), "aa 02 00 FE 01 00 00");
    EXPECT_EQ(MouseFrame("12", kMouseButtons[1].code), "aa 02 2C FE 04 00 00");
    EXPECT_EQ(MouseFrame("2", kMouseButtons[2].code), "aa 02 04 FE 02 00 00");
}

TEST(MouseCommand, LogLineShowsTheSlotNumberNotTheAddress) {
    EXPECT_EQ(MouseLogLine(false, kMouseButtons[1], "12"), "Write Mouse BTN:  < M BTN Click > To Address:12");
    EXPECT_EQ(MouseLogLine(false, kMouseButtons[2], "2"), "Write Mouse BTN:  < R BTN Click > To Address:2");
    EXPECT_EQ(MouseLogLine(true, kMouseButtons[0], "1"), "写入鼠标键值:  < 左键单击 > 到地址1");
}

} // namespace
} // namespace treadkey
