#include "window_fixture.h"

namespace treadkey::testing {
namespace {

// The result list is the user's only record of what the pedal holds, so an action is logged as done only when
// every one of its reports was written.
using FailureLog = WindowTest;

const QString kWriteFailed = QStringLiteral("写入失败，请先联接。");

TEST_F(FailureLog, EachActionLogsTheFailureLineWhenWritesFail) {
    Connect();
    window->Text_delay->setText("300");
    backend.SetFailWrites(true);
    const struct {
        const char* action;
        std::function<void()> run;
    } actions[] = {
        {"key", [&] { Click(Key(50)); }},
        {"mouse", [&] { Click(window->Command_R_btn); }},
        {"delay", [&] { window->Command2->click(); }},
        {"raw", [&] { window->Iwrite->click(); }},
        {"clear-all", [&] { window->Command1->click(); }},
    };
    for (const auto& a : actions) {
        window->lstResults->clear();
        a.run();
        EXPECT_EQ(LogTexts(), QStringList{kWriteFailed}) << a.action;
    }
}

TEST_F(FailureLog, PedalVanishingBetweenTwoReportsOfAKeyAssignment) {
    Connect();
    window->Text_delay->setText("300");
    backend.OnWrite([&](int tried) {
        if (tried == 1) {
            backend.Unplug(kPedal);
        }
    });
    Click(Key(50));
    // The key frame went; the settings frames failed quietly on the vanished handle, and the next tick
    // notices.
    EXPECT_EQ(HexReports(), std::vector<std::string>{"00 AA 01 00 00 04 00 00 00"});
    EXPECT_EQ(LogTexts(), QStringList{kWriteFailed});
    window->Timer1_Timer();
    EXPECT_FALSE(window->Link().DeviceDetected);
    EXPECT_FALSE(Key(50)->isEnabled());
}

TEST_F(FailureLog, ClearAllTriesEveryFrameEvenAfterAFailure) {
    Connect();
    backend.OnWrite([&](int tried) { backend.SetFailWrites(tried == 3); });
    window->Command1->click();
    EXPECT_EQ(backend.Reports().size(), 31u);
    EXPECT_EQ(LogTexts(), QStringList{kWriteFailed});
}

TEST_F(FailureLog, SettingsKeepTheirLinesWithoutAPedal) {
    window->EnableWriteButtons();
    window->Option1->click();
    window->Command_auto_run->click();
    EXPECT_EQ(LogTexts(), (QStringList{"单次播放！", "键鼠控制器上电自动运行存储的键值！"}));
}

TEST_F(FailureLog, NeverConnectedKeepsItsOwnLines) {
    window->EnableWriteButtons();
    Click(Key(50));
    window->Command2->click();
    window->Iwrite->click();
    EXPECT_EQ(LogTexts(), (QStringList{kWriteFailed, "Error", kWriteFailed}));
    EXPECT_TRUE(backend.Reports().empty());
}

TEST_F(FailureLog, AHealthyPedalGetsTheUsualLines) {
    Connect();
    window->Text_delay->setText("300");
    Click(Key(50));
    window->Command1->click();
    EXPECT_EQ(LogTexts(),
              (QStringList{"按键延时响应时间: 300 ms", "写入键值:  < A > 到地址1", "已清空设备所有键值!"}));
}

TEST_F(FailureLog, AReportLengthThatCannotHoldAReportIsAFailure) {
    backend.Plug({kPedal, 0x2704, 0x2018, 0, true});
    window->Timer1_Timer();
    ASSERT_TRUE(window->Link().DeviceDetected);
    Click(window->Command_L_btn);
    EXPECT_TRUE(backend.Reports().empty());
    EXPECT_EQ(LogTexts(), QStringList{kWriteFailed});
}

} // namespace
} // namespace treadkey::testing
