#include "form_fixture.h"

namespace treadkey::testing {
namespace {

using Connection = FormTest;

TEST_F(Connection, TickFindsThePedalShowsTheStatusAndEnablesTheKeyboard) {
    Connect();
    EXPECT_TRUE(window->Link().DeviceDetected);
    EXPECT_TRUE(window->Link().ConnectedOnce);
    EXPECT_EQ(window->Label3->text, "USB设备联接成功");
    EXPECT_TRUE(Key(50)->enabled);
    EXPECT_EQ(window->Link().OutputReportByteLength, 9);
    EXPECT_EQ(window->Link().DevicePathName, kPedal);
    EXPECT_EQ(window->VendorIDText, "&H2704");
    EXPECT_EQ(window->ProductIDText, "&H2018");
}

TEST_F(Connection, NoPedalLeavesEverythingDisabledAndNeverLatches) {
    backend.Plug({"keyboard", 0x046D, 0xC31C, 9, true});
    window->Timer1_Timer();
    EXPECT_FALSE(window->Link().DeviceDetected);
    EXPECT_FALSE(window->Link().ConnectedOnce);
    EXPECT_EQ(window->Label3->text, "USB设备联接失败!");
    EXPECT_FALSE(Key(50)->enabled);
    // Other devices are never opened, so a tick does not touch them.
    EXPECT_TRUE(backend.OpenedPaths().empty());
}

TEST_F(Connection, NoPedalAtAllIsSaidOnTheStatusTooltipInTheWindowsLanguageAndOnceOnStderr) {
    backend.Plug({"keyboard", 0x046D, 0xC31C, 9, true});
    ::testing::internal::CaptureStderr();
    window->Timer1_Timer();
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->toolTip,
              "未找到带踏板 ID（厂商 2704，产品 2018）的设备：踏板插好了吗？可运行 treadkeyctl doctor "
              "进一步检查。");
    Click(window->Command3);
    window->Timer1_Timer();
    const std::string english =
        "no device with the pedal's ids (vendor 2704, product 2018) is present: is it plugged in? Run "
        "'treadkeyctl doctor' to look further.";
    EXPECT_EQ(window->Label3->toolTip, english);
    Connect();
    EXPECT_TRUE(window->Label3->toolTip.empty());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "treadkey-setup: " + english + "\n");
}

TEST_F(Connection, StatusFollowsTheLanguageAtTheNextTick) {
    Connect();
    Click(window->Command3);
    EXPECT_EQ(window->Label3->text, "USB设备联接成功");
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB device is connected!");
    backend.Unplug(kPedal);
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB device is not connected!");
}

TEST_F(Connection, UnplugAndReplugAreFollowedWithinOneTick) {
    Connect();
    Click(window->Command_ctrl);
    backend.Unplug(kPedal);
    window->Timer1_Timer();
    EXPECT_FALSE(window->Link().DeviceDetected);
    EXPECT_TRUE(window->Link().ConnectedOnce);
    EXPECT_FALSE(Key(50)->enabled);
    EXPECT_EQ(backend.LiveHandles(), 0);
    EXPECT_EQ(window->Command_ctrl->backColor, kGreen); // a toggle keeps its state
    PlugPedal();
    window->Timer1_Timer();
    EXPECT_TRUE(window->Link().DeviceDetected);
    EXPECT_TRUE(Key(50)->enabled);
    EXPECT_TRUE(window->Command_ctrl->IsGreen());
}

TEST_F(Connection, FirstMatchingInterfaceThatOpensIsUsed) {
    backend.Plug({"mouse", 0x1234, 0x5678, 5, true});
    backend.Plug({"pedal-locked", 0x2704, 0x2018, 9, false});
    backend.Plug({"pedal-a", 0x2704, 0x2018, 65, true});
    backend.Plug({"pedal-b", 0x2704, 0x2018, 9, true});
    window->Timer1_Timer();
    EXPECT_EQ(window->Link().DevicePathName, "pedal-a");
    EXPECT_EQ(window->Link().OutputReportByteLength, 65);
    // The locked interface was tried, the other device never; both handles are on pedal-a.
    EXPECT_EQ(backend.OpenedPaths(), (std::vector<std::string>{"pedal-locked", "pedal-a", "pedal-a"}));
}

TEST_F(Connection, ALockedPedalSaysWhyOnTheStatusTooltipInTheWindowsLanguageAndOnceOnStderr) {
    backend.Plug({"pedal-locked", 0x2704, 0x2018, 9, false, {{0xFF00, 0x01}}});
    ::testing::internal::CaptureStderr();
    window->Timer1_Timer();
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB设备联接失败!");
    EXPECT_EQ(window->Label3->toolTip, "无法打开踏板：pedal-locked（厂商自定义）没有访问权限："
                                       "请按 README“Installing on a desktop”一节授予权限，然后重新插拔踏板");
    Click(window->Command3);
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->toolTip,
              "the pedal cannot be opened: pedal-locked (vendor-defined) does not open: "
              "permission denied: pedal-locked");
    const std::string once =
        "treadkey-setup: the pedal cannot be opened: pedal-locked (vendor-defined) does not "
        "open: permission denied: pedal-locked\n";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), once); // the language switch says nothing there
    backend.Unplug("pedal-locked");
    Connect();
    EXPECT_TRUE(window->Label3->toolTip.empty());
}

TEST_F(Connection, ACompositePedalIsWrittenThroughItsConfigurationInterfaceAlone) {
    backend.Plug({"keyboard", 0x2704, 0x2018, 2, true, {{0x01, 0x06}}});
    backend.Plug({"mouse", 0x2704, 0x2018, 0, true, {{0x01, 0x02}}});
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB设备联接失败!");
    EXPECT_EQ(window->Label3->toolTip,
              "未找到踏板的配置接口：keyboard（键盘）由系统独占，已跳过；mouse（鼠标）由系统独占，已跳过");
    EXPECT_TRUE(backend.OpenedPaths().empty());

    backend.Plug({"vendor", 0x2704, 0x2018, 9, true, {{0xFF00, 0x01}}});
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB设备联接成功");
    EXPECT_TRUE(window->Label3->toolTip.empty());
    Type(window->Combo1, "2");
    Click(window->Command_R_btn);
    ASSERT_EQ(backend.Writes().size(), 1u);
    EXPECT_EQ(backend.Writes()[0].path, "vendor");
    EXPECT_EQ(HexReports(), (std::vector<std::string>{"00 AA 02 04 FE 02 00 00 00"}));
    EXPECT_EQ(backend.OpenedPaths(), (std::vector<std::string>{"vendor", "vendor"})); // keyboard, mouse never
}

TEST_F(Connection, AnInterfaceTooShortForAFrameIsUsedButFlagged) {
    backend.Plug({"consumer", 0x2704, 0x2018, 2, true, {{0x0C, 0x01}}});
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB设备联接成功");
    EXPECT_EQ(window->Label3->toolTip, "这可能不是踏板的配置接口：consumer（多媒体控制）的输出报告只有 2 "
                                       "字节，放不下完整的一帧（8 字节）");
}

TEST_F(Connection, AKeyboardWithMediaKeysThatOpensGivesWayToAWholeFrameAndTheTooltipSaysWhy) {
    backend.Plug({"keyboard", 0x2704, 0x2018, 2, true, {{0x01, 0x06}, {0x0C, 0x01}}});
    backend.Plug({"vendor", 0x2704, 0x2018, 9, true, {{0xFF00, 0x01}}});
    ::testing::internal::CaptureStderr();
    window->Timer1_Timer();
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB设备联接成功");
    EXPECT_EQ(window->Link().DevicePathName, "vendor");
    EXPECT_EQ(window->Label3->toolTip,
              "keyboard（键盘、多媒体控制）的输出报告只有 2 字节，放不下一帧；帧发往 vendor");
    Click(window->Command3);
    window->Timer1_Timer();
    const std::string english =
        "keyboard (keyboard, consumer control) opens, but its output report of 2 bytes "
        "cannot hold a frame; the frames go to vendor";
    EXPECT_EQ(window->Label3->toolTip, english);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "treadkey-setup: " + english + "\n");
}

TEST_F(Connection, IdsAreTrimmedAndUnusableIdsMatchNothingQuietly) {
    PlugPedal();
    Type(window->TextVID, " 2704 ");
    window->Timer1_Timer();
    EXPECT_TRUE(window->Link().DeviceDetected);
    for (const char* bad : {"", "27G4", "12704", "&H2704"}) {
        Type(window->TextVID, bad);
        window->Timer1_Timer();
        EXPECT_FALSE(window->Link().DeviceDetected) << bad;
    }
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(Connection, AnUnreadableIdReleasesTheHandlesOfTheLastMatch) {
    Connect();
    ASSERT_EQ(backend.LiveHandles(), 2);
    Type(window->TextPID, "20G8");
    window->Timer1_Timer();
    EXPECT_EQ(backend.LiveHandles(), 0);
    EXPECT_EQ(window->Link().LastDiscovery, DiscoveryReport{});
}

TEST_F(Connection, RepeatedDiscoveryHoldsTwoHandlesAtTheMost) {
    Connect();
    const int afterFirstTick = backend.LiveHandles();
    EXPECT_EQ(afterFirstTick, 2);
    for (int tick = 0; tick < 10000; ++tick) {
        window->Timer1_Timer();
    }
    EXPECT_EQ(backend.LiveHandles(), afterFirstTick);
}

TEST_F(Connection, ClosingTheWindowLogsBothClosesAndReleasesTheHandles) {
    Connect();
    EXPECT_TRUE(Close());
    EXPECT_EQ(LogTexts(), (Lines{"CloseHandle (HIDHandle)", "CloseHandle (ReadHandle)"}));
    EXPECT_EQ(backend.LiveHandles(), 0);
    EXPECT_EQ(view.timerInterval, 0); // stopped
}

TEST_F(Connection, ClosingWithoutEverFindingThePedalStillLogsBothLines) {
    Close();
    EXPECT_EQ(LogTexts(), (Lines{"CloseHandle (HIDHandle)", "CloseHandle (ReadHandle)"}));
}

// The close comes while the box is open (held with the tick) or after the box, before the event loop runs
// the held tick; either way the close lines are the last thing the window does.
class CloseAroundTheClearAllQuestion : public FormTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CloseAroundTheClearAllQuestion, TicksAndTheCloseWaitForTheHandlerAndTheCloseLinesComeLast) {
    const bool closeWhileAsked = GetParam();
    Connect();
    const std::size_t opensBefore = backend.OpenedPaths().size();
    std::size_t opensWhileAsked = 0;
    view.onQuestion = [&] {
        // The box's own event loop, open across several ticks, and a stop signal arriving meanwhile.
        for (int tick = 0; tick < 4; ++tick) {
            window->Timer1_Timer();
        }
        if (closeWhileAsked) {
            EXPECT_FALSE(Close()); // held until the box is gone
        }
        opensWhileAsked = backend.OpenedPaths().size() - opensBefore;
    };
    Click(window->Command1);
    EXPECT_EQ(opensWhileAsked, 0u);
    EXPECT_EQ(HexReports().size(), 32u);
    EXPECT_EQ(LogTexts(), Lines{"已清空设备所有键值!"});
    EXPECT_TRUE(view.visible);
    if (!closeWhileAsked) {
        EXPECT_TRUE(Close());
    }

    // Back in the event loop: a tick held before the close runs before it, and nothing after it.
    view.RunPosted();
    const std::string status = window->Label3->text;
    const std::size_t opensAtClose = backend.OpenedPaths().size();
    EXPECT_EQ(opensAtClose, opensBefore + (closeWhileAsked ? opensBefore : 0));
    EXPECT_EQ(LogTexts(),
              (Lines{"已清空设备所有键值!", "CloseHandle (HIDHandle)", "CloseHandle (ReadHandle)"}));
    EXPECT_FALSE(view.visible);
    // The timer is stopped, so no tick comes any more; whatever is still posted runs.
    EXPECT_EQ(view.timerInterval, 0);
    view.RunPosted();
    EXPECT_EQ(LogTexts().size(), 3u);
    EXPECT_EQ(backend.OpenedPaths().size(), opensAtClose);
    EXPECT_EQ(backend.LiveHandles(), 0);
    EXPECT_EQ(window->Label3->text, status);
}
INSTANTIATE_TEST_SUITE_P(WhileAskedOrAfter, CloseAroundTheClearAllQuestion, ::testing::Bool());

TEST_F(Connection, TheTooltipSaysWhichOfSeveralPedalsTheWindowTookOrWaitsFor) {
    backend.Plug({.path = "left", .collections = {{0xFF00, 0x01}}, .pedal = "usb-1-1"});
    backend.Plug({.path = "right", .collections = {{0xFF00, 0x01}}, .pedal = "serial:R2"});
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB设备联接成功");
    EXPECT_EQ(window->Label3->toolTip,
              "使用踏板 usb-1-1（插着的第一个）。还插着其他踏板：serial:R2；用 --pedal ID "
              "启动可选择其中一个。");
    Click(window->Command3);
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->toolTip,
              "Using pedal usb-1-1, the first plugged in. Other pedals are plugged in "
              "too: serial:R2; start with --pedal ID to choose one.");

    // Chosen, the other pedal is never written, and while it is gone the window waits for it.
    window->ChoosePedal("serial:R2");
    window->Timer1_Timer();
    Type(window->Combo1, "2");
    Click(window->Command_R_btn);
    ASSERT_FALSE(backend.Writes().empty());
    for (const auto& write : backend.Writes()) {
        EXPECT_EQ(write.path, "right");
    }
    EXPECT_EQ(window->Label3->toolTip,
              "Using pedal serial:R2, as --pedal asks. The other pedals plugged in (usb-1-1) are not used.");
    backend.Unplug("right");
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text, "USB device is not connected!");
    EXPECT_EQ(
        window->Label3->toolTip,
        "Waiting for pedal serial:R2: it is not plugged in. The other pedals plugged in (usb-1-1) are not "
        "used.");
}

} // namespace
} // namespace treadkey::testing
