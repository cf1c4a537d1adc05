#include "app/form/window_wording.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

TEST(WindowWording, KeyDelayLineInBothLanguages) {
    EXPECT_EQ(KeyDelayLogLine(true, 300), "按键延时响应时间: 300 ms");
    EXPECT_EQ(KeyDelayLogLine(false, 0), "Key Delay:  0 ms");
    EXPECT_EQ(KeyDelayLogLine(false, 65535), "Key Delay:  65535 ms");
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

TEST(MouseCommand, LogLineShowsTheSlotNumberNotTheAddress) {
    EXPECT_EQ(MouseLogLine(false, 1, "12"), "Write Mouse BTN:  < M BTN Click > To Address:12");
    EXPECT_EQ(MouseLogLine(false, 2, "2"), "Write Mouse BTN:  < R BTN Click > To Address:2");
    EXPECT_EQ(MouseLogLine(true, 0, "1"), "写入鼠标键值:  < 左键单击 > 到地址1");
}

} // namespace
} // namespace treadkey
