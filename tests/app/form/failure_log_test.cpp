#include "form_fixture.h"

namespace treadkey::testing {
namespace {

// The result list is the user's only record of what the pedal holds, so an action is logged as done only when
// every one of its reports was written.
using FailureLog = FormTest;

const std::string kWriteFailed = "写入失败，请先联接。";

TEST_F(FailureLog, EachActionLogsTheFailureLineWhenWritesFail) {
    Connect();
    Type(window->Text_delay, "300");
    backend.SetFailWrites(true);
    const struct {
        const char* action;
        std::function<void()> run;
    } actions[] = {
        {"key", [&] { Click(Key(50)); }},
        {"mouse", [&] { Click(window->Command_R_btn); }},
        {"delay", [&] { Click(window->Command2); }},
        {"raw", [&] { Click(window->Iwrite); }},
        {"clear-all", [&] { Click(window->Command1); }},
    };
    for (const auto& a : actions) {
        view.lines.clear();
        a.run();
        EXPECT_EQ(LogTexts(), Lines{kWriteFailed}) << a.action;
    }
}

TEST_F(FailureLog, PedalVanishingBetweenTwoReportsOfAKeyAssignment) {
    Connect();
    Type(window->Text_delay, "300");
    backend.OnWrite([&](int tried) {
        if (tried == 1) {
            backend.Unplug(kPedal);
        }
    });
    Click(Key(50));
    // The key frame went; the settings frames failed quietly on the vanished handle, and the next tick
    // notices.
    EXPECT_EQ(HexReports(), std::vector<std::string>{"00 AA 01 00 00 04 00 00 00"});
    EXPECT_EQ(LogTexts(), Lines{kWriteFailed});
    window->Timer1_Timer();
    EXPECT_FALSE(window->Link().DeviceDetected);
    EXPECT_FALSE(Key(50)->enabled);
}

TEST_F(FailureLog, ClearAllTriesEveryFrameEvenAfterAFailure) {
    Connect();
    backend.OnWrite([&](int tried) { backend.SetFailWrites(tried == 3); });
    Click(window->Command1);
    EXPECT_EQ(backend.Reports().size(), 31u);
    EXPECT_EQ(LogTexts(), Lines{kWriteFailed});
}

TEST_F(FailureLog, SettingsKeepTheirLinesWithoutAPedal) {
    window->EnableWriteButtons();
    Click(window->Option1);
    Click(window->Command_auto_run);
    EXPECT_EQ(LogTexts(), (Lines{"单次播放！", "键鼠控制器上电自动运行存储的键值！"}));
}

TEST_F(FailureLog, NeverConnectedKeepsItsOwnLines) {
    window->EnableWriteButtons();
    Click(Key(50));
    Click(window->Command2);
    Click(window->Iwrite);
    EXPECT_EQ(LogTexts(), (Lines{kWriteFailed, "Error", kWriteFailed}));
    EXPECT_TRUE(backend.Reports().empty());
}

TEST_F(FailureLog, AHealthyPedalGetsTheUsualLines) {
    Connect();
    Type(window->Text_delay, "300");
    Click(Key(50));
    Click(window->Command1);
    EXPECT_EQ(LogTexts(),
              (Lines{"按键延时响应时间: 300 ms", "写入键值:  < A > 到地址1", "已清空设备所有键值!"}));
}

TEST_F(FailureLog, AReportLengthThatCannotHoldAReportIsAFailure) {
    backend.Plug({kPedal, 0x2704, 0x2018, 0, true});
    window->Timer1_Timer();
    ASSERT_TRUE(window->Link().DeviceDetected);
    Click(window->Command_L_btn);
    EXPECT_TRUE(backend.Reports().empty());
    EXPECT_EQ(LogTexts(), Lines{kWriteFailed});
}

} // namespace
} // namespace treadkey::testing
