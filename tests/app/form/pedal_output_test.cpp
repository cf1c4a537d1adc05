#include "form_fixture.h"

#include <vector>

namespace treadkey::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class PedalOutput : public FormTest {
protected:
    void PressAndRelease(const std::string& path, Bytes down) {
        backend.Send(path, down);
        backend.Send(path, Bytes(down.size(), 0));
    }
};

TEST_F(PedalOutput, EachPressIsLoggedWithinOneTickInTheWindowsLanguageAndNoRelease) {
    PlugComposite();
    window->Timer1_Timer();
    ASSERT_TRUE(LogTexts().empty());
    PressAndRelease(kKeyboard, {0x03, 0, 0x04, 0, 0, 0, 0, 0});
    PressAndRelease(kMouse, {0x01, 0, 0});
    window->Timer1_Timer();
    EXPECT_EQ(LogTexts(), (Lines{"踏板输出:  < Ctrl + Shift + A >", "踏板输出:  < 左键单击 >"}));

    Click(window->Command3); // English
    view.lines.clear();
    PressAndRelease(kMouse, {0x04, 0, 0});
    PressAndRelease(kMouse, {0x02, 0, 0});
    PressAndRelease(kKeyboard, {0x40, 0, 0x5A, 0, 0, 0, 0, 0}); // Alt_R + keypad 2, not the main 2
    window->Timer1_Timer();
    // The keyboard is read before the mouse, in enumeration order.
    EXPECT_EQ(LogTexts(), (Lines{"Pedal Sent:  < Alt_R + 2 >", "Pedal Sent:  < M BTN Click >",
                                 "Pedal Sent:  < R BTN Click >"}));
    // Nothing was written to the keyboard or the mouse, and the frames still go to the pedal.
    EXPECT_TRUE(backend.Writes().empty());
    EXPECT_EQ(window->Link().DevicePathName, kPedal);
}

TEST_F(PedalOutput, AKeyboardWithMediaKeysAfterTheChosenInterfaceIsWatchedToo) {
    PlugComposite({{0x01, 0x06}, {0x0C, 0x01}}); // not passed over: its consumer control is shared
    window->Timer1_Timer();
    PressAndRelease(kKeyboard, {0x03, 0, 0x04, 0, 0, 0, 0, 0});
    window->Timer1_Timer();
    EXPECT_EQ(LogTexts(), Lines{"踏板输出:  < Ctrl + Shift + A >"});
    EXPECT_EQ(backend.ReadOpenedPaths(), (std::vector<std::string>{kKeyboard, kMouse}));
    EXPECT_EQ(window->Link().DevicePathName, kPedal);
}

TEST_F(PedalOutput, NothingIsLostOrRepeatedAcrossTicksAndHandlesStayOne) {
    PlugComposite();
    window->Timer1_Timer();
    const int handles = backend.LiveHandles(); // two of the link's, one reader each for keyboard and mouse
    EXPECT_EQ(handles, 4);
    // More than a tick takes from one interface: the rest waits for the next tick.
    for (int i = 0; i < 40; ++i) {
        PressAndRelease(kKeyboard, {0, 0, static_cast<std::uint8_t>(0x04 + i % 26), 0, 0, 0, 0, 0});
    }
    window->Timer1_Timer();
    EXPECT_EQ(LogTexts().size(), 32u);
    window->Timer1_Timer();
    window->Timer1_Timer();
    const Lines texts = LogTexts();
    ASSERT_EQ(texts.size(), 40u);
    EXPECT_EQ(texts[0], "踏板输出:  < A >");
    EXPECT_EQ(texts[26], "踏板输出:  < A >");
    EXPECT_EQ(texts[39], "踏板输出:  < N >");
    EXPECT_EQ(backend.LiveHandles(), handles);
    EXPECT_EQ(backend.ReadOpenedPaths(), (std::vector<std::string>{kKeyboard, kMouse}));
}

TEST_F(PedalOutput, UnpluggedAndReplugged_TheNewNodesAreRead) {
    PlugComposite();
    window->Timer1_Timer();
    backend.Unplug(kKeyboard);
    backend.Unplug(kMouse);
    backend.Unplug(kPedal);
    window->Timer1_Timer();
    EXPECT_EQ(backend.LiveHandles(), 0);
    PlugComposite();
    window->Timer1_Timer();
    PressAndRelease(kKeyboard, {0x80, 0, 0x3A, 0, 0, 0, 0, 0});
    window->Timer1_Timer();
    EXPECT_EQ(LogTexts(), Lines{"踏板输出:  < Win_R + F1 >"});
}

// As Windows' Raw Input under Wine hands them over: one keyboard and one mouse for all, and no hold offered.
TEST_F(PedalOutput, InputMixedWithOtherDevicesIsSaidOnceInPlaceOfTheFilterAndTheWindowWritesOn) {
    const auto plugMixed = [this](const char* path, HidCollection collection) {
        backend.Plug({.path = path, .collections = {collection}, .readRefusal = OpenFailure::Unattributed});
    };
    plugMixed(kKeyboard, {0x01, 0x06});
    plugMixed(kMouse, {0x01, 0x02});
    view.active = true; // the hold is tried, and refused
    ::testing::internal::CaptureStderr();
    Connect();
    window->Timer1_Timer();
    backend.Unplug(kKeyboard); // replugged: refused anew, not said anew
    window->Timer1_Timer();
    plugMixed(kKeyboard, {0x01, 0x06});
    window->Timer1_Timer();
    const std::string why = ": Windows' Raw Input does not tell its keystrokes and clicks from other "
                            "keyboards' and mice's";
    const std::string problems = "cannot read pedal-keyboard" + why + "; cannot read pedal-mouse" + why;
    // The unheld note would promise a filter that no press can drive here.
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "treadkey-setup: the pedal's presses are not logged, and the keys it types reach this window "
              "like any keyboard's: " +
                  problems + "\n");
    const std::string chineseProblems =
        "cannot read pedal-keyboard" + why + "；cannot read pedal-mouse" + why;
    EXPECT_TRUE(window->Label3->toolTip.ends_with(
        "踏板的按下不会记入列表，它输入的按键像任何键盘的按键一样送到本窗口：" + chineseProblems))
        << window->Label3->toolTip;
    Click(window->Command3);
    window->Timer1_Timer();
    EXPECT_TRUE(window->Label3->toolTip.ends_with("reach this window like any keyboard's: " + problems))
        << window->Label3->toolTip;
    Click(window->Command_key[50]);
    EXPECT_EQ(backend.Writes().size(), 3u);
}

} // namespace
} // namespace treadkey::testing
