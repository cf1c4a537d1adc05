#include "form_fixture.h"

namespace treadkey::testing {
namespace {

using Commands = FormTest;
using Reports = std::vector<std::string>;

TEST_F(Commands, WorkedKeyExampleSendsThreeReportsAndLogsTheAssignment) {
    Connect();
    Type(window->Combo1, "3");
    Click(window->Command_ctrl);
    EXPECT_EQ(window->TextIW->text, "aa 01 08 01 00 00 00");
    Click(window->Command_shift);
    EXPECT_EQ(window->TextIW->text, "aa 01 08 03 00 00 00");
    EXPECT_TRUE(backend.Reports().empty()); // toggles only preview
    Click(Key(50));
    EXPECT_EQ(HexReports(), (Reports{"00 AA 01 08 03 04 00 00 00", "00 AA 01 7C 79 01 00 00 00",
                                     "00 AA 01 78 79 01 00 00 00"}));
    EXPECT_EQ(view.pauses, (std::vector<int>{50, 50}));
    EXPECT_EQ(LogTexts(), Lines{"写入键值:  < Ctrl + Shift + A > 到地址3"});
    EXPECT_EQ(window->TextIW->text, "AA 01 78 79 01 00 00"); // the last settings frame stays in the box
    Click(window->Command3);
    Click(Key(50));
    EXPECT_EQ(LogTexts().back(), "Write Key Val:  < Ctrl + Shift + A > To Address:3");
}

TEST_F(Commands, KeyFramesForModifierSetsSlotsAndKeys) {
    Connect();
    Click(window->Command3); // English log lines
    const struct {
        std::vector<Control*> toggles;
        const char* slot;
        int key;
        const char* report;
        const char* line;
    } cases[] = {
        {{}, "1", 50, "00 AA 01 00 00 04 00 00 00", "Write Key Val:  < A > To Address:1"},
        {{window->Command_ctrl, window->Command_ctrl_r},
         "1",
         50,
         "00 AA 01 00 11 04 00 00 00",
         "Write Key Val:  < Ctrl + Ctrl_R + A > To Address:1"},
        {{window->Command_shift, window->Command_alt},
         "12",
         0,
         "00 AA 01 2C 06 3A 00 00 00",
         "Write Key Val:  < Alt + Shift + F1 > To Address:12"},
        {{window->Command_ctrl, window->Command_shift, window->Command_alt, window->Command_win,
          window->Command_ctrl_r, window->Command_shift_r, window->Command_alt_r, window->Command_win_r},
         "2",
         80,
         "00 AA 01 04 FF 28 00 00 00",
         "Write Key Val:  < Ctrl + Alt + Shift + Win + Ctrl_R + Alt_R + Shift_R + Win_R + Enter > To "
         "Address:2"},
        {{}, "abc", 95, "00 AA 01 FC 00 58 00 00 00", "Write Key Val:  < Enter > To Address:0"},
        {{}, "2.5", 81, "00 AA 01 06 00 53 00 00 00", "Write Key Val:  < Num  Lock > To Address:2.5"},
    };
    for (const auto& c : cases) {
        for (Control* toggle : c.toggles) {
            Click(toggle);
        }
        Type(window->Combo1, c.slot);
        backend.ClearWrites();
        Click(Key(c.key));
        ASSERT_EQ(HexReports().size(), 3u) << c.line;
        EXPECT_EQ(HexReports().front(), c.report);
        EXPECT_EQ(LogTexts().back(), c.line);
        for (Control* toggle : c.toggles) {
            Click(toggle); // back off for the next case
        }
    }
}

TEST_F(Commands, ToggleFlipsItsColourAndResetsTheKeyCode) {
    Connect();
    Click(Key(50));
    Click(window->Command_win_r);
    EXPECT_TRUE(window->Command_win_r->IsGreen());
    EXPECT_EQ(window->TextIW->text, "aa 01 00 80 00 00 00");
    Click(window->Command_win_r);
    EXPECT_EQ(window->Command_win_r->backColor, kButtonFace);
    EXPECT_EQ(window->TextIW->text, "aa 01 00 00 00 00 00");
}

TEST_F(Commands, KeyDelayAndSingleOutputFrames) {
    Connect();
    const struct {
        const char* delayText;
        bool once;
        bool chinese;
        const char* delayReport;
        const char* onceReport;
        const char* line; // empty: no delay line
    } cases[] = {
        {"300", true, true, "00 AA 01 7C 79 01 01 2C 00", "00 AA 01 78 79 01 01 00 00",
         "按键延时响应时间: 300 ms"},
        {"0", false, true, "00 AA 01 7C 79 01 00 00 00", "00 AA 01 78 79 01 00 00 00", ""},
        {"0.4", false, false, "00 AA 01 7C 79 01 00 00 00", "00 AA 01 78 79 01 00 00 00", "Key Delay:  0 ms"},
        {"70000", false, false, "00 AA 01 7C 79 01 FF FF 00", "00 AA 01 78 79 01 00 00 00",
         "Key Delay:  65535 ms"},
        {"-5", false, false, "00 AA 01 7C 79 01 FF FB 00", "00 AA 01 78 79 01 00 00 00", ""},
        {"40000", false, false, "00 AA 01 7C 79 01 9C 40 00", "00 AA 01 78 79 01 00 00 00",
         "Key Delay:  40000 ms"},
        {"12.5", false, false, "00 AA 01 7C 79 01 00 0C 00", "00 AA 01 78 79 01 00 00 00",
         "Key Delay:  12 ms"},
        {"-40000", false, false, "00 AA 01 7C 79 01 63 C0 00", "00 AA 01 78 79 01 00 00 00", ""},
        {"abc", false, false, "00 AA 01 7C 79 01 00 00 00", "00 AA 01 78 79 01 00 00 00", ""},
    };
    for (const auto& c : cases) {
        if ((window->IsChinese != 0) != c.chinese) {
            Click(window->Command3);
        }
        Type(window->Text_delay, c.delayText);
        Check(window->Check_once, c.once);
        backend.ClearWrites();
        view.lines.clear();
        Click(window->Command2);
        EXPECT_EQ(HexReports(), (Reports{c.delayReport, c.onceReport})) << c.delayText;
        EXPECT_EQ(LogTexts(), *c.line ? Lines{std::string(c.line)} : Lines{}) << c.delayText;
    }
}

TEST_F(Commands, DelayBoxIsClampedAboveTheLargestDelayOnly) {
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {{"70000", "65535"},   {"65535.5", "65535"}, {"65535", "65535"},
                 {"-40000", "-40000"}, {"abc", "abc"},       {"", ""}};
    for (const auto& c : cases) {
        Type(window->Text_delay, c.typed);
        EXPECT_EQ(window->Text_delay->text, c.shown) << c.typed;
    }
    Type(window->Text_delay, std::string(5000, '9'));
    EXPECT_EQ(window->Text_delay->text, "65535");
}

TEST_F(Commands, KeyDelayBeforeAnyConnectionLogsError) {
    window->Command2_Click(); // its button is disabled until a pedal is found; key clicks call it too
    EXPECT_EQ(LogTexts(), Lines{"Error"});
    EXPECT_TRUE(backend.Reports().empty());
}

TEST_F(Commands, MouseButtonsWriteTheirFramesAndLines) {
    Connect();
    Click(window->Command3);
    const struct {
        Control* button;
        const char* slot;
        const char* report;
        const char* line;
    } cases[] = {
        {window->Command_R_btn, "2", "00 AA 02 04 FE 02 00 00 00",
         "Write Mouse BTN:  < R BTN Click > To Address:2"},
        {window->Command_L_btn, "1", "00 AA 02 00 FE 01 00 00 00",
         "Write Mouse BTN:  < L BTN Click > To Address:1"},
        {window->Command_M_btn, "12", "00 AA 02 2C FE 04 00 00 00",
         "Write Mouse BTN:  < M BTN Click > To Address:12"},
    };
    Click(window->Command_ctrl); // modifiers play no part in a mouse frame
    for (const auto& c : cases) {
        Type(window->Combo1, c.slot);
        backend.ClearWrites();
        Click(c.button);
        EXPECT_EQ(HexReports(), Reports{c.report});
        EXPECT_EQ(LogTexts().back(), c.line);
    }
    EXPECT_EQ(window->TextIW->text, "aa 02 2C FE 04 00 00");
    Click(window->Command3);
    Click(window->Command_L_btn);
    EXPECT_EQ(LogTexts().back(), "写入鼠标键值:  < 左键单击 > 到地址12");
    EXPECT_TRUE(view.pauses.empty());
}

TEST_F(Commands, PlaybackAndAutoRunWords) {
    Connect();
    Click(window->Command_auto_run);
    EXPECT_TRUE(window->Command_auto_run->IsGreen());
    Click(window->Option1);
    Click(window->Option2);
    Click(window->Command_auto_run);
    Click(window->Option1);
    EXPECT_EQ(HexReports(), (Reports{"00 AA 01 7C 79 01 00 00 00", "00 AA 01 7C 79 00 00 00 00",
                                     "00 AA 01 7C 79 01 00 00 00", "00 AA 01 7C 00 01 00 00 00",
                                     "00 AA 01 7C 00 00 00 00 00"}));
    EXPECT_EQ(LogTexts(), (Lines{"键鼠控制器上电自动运行存储的键值！", "单次播放！", "循环播放！",
                                 "键鼠控制器上电不自动运行！", "单次播放！"}));
}

TEST_F(Commands, AutoRunColourFlipsEvenWithoutAPedal) {
    window->EnableWriteButtons();
    Click(window->Command_auto_run);
    EXPECT_TRUE(window->Command_auto_run->IsGreen());
    EXPECT_TRUE(backend.Reports().empty());
    EXPECT_EQ(LogTexts(), Lines{"键鼠控制器上电自动运行存储的键值！"});
}

TEST_F(Commands, SlotNumbersAreLoggedAsPlainDecimals) {
    Connect();
    for (const char* slot : {"100000", "0.0001", "2.5", "-3"}) {
        Type(window->Combo1, slot);
        Click(Key(50)); // A
    }
    Click(window->Command_L_btn);
    EXPECT_EQ(LogTexts(), (Lines{"写入键值:  < A > 到地址100000", "写入键值:  < A > 到地址0.0001",
                                 "写入键值:  < A > 到地址2.5", "写入键值:  < A > 到地址-3",
                                 "写入鼠标键值:  < 左键单击 > 到地址-3"}));
}

TEST_F(Commands, ClearAllAsksThenSendsThirtyTwoFramesInRisingOrder) {
    Connect();
    Type(window->Combo1, "5");
    Click(window->Command1);
    EXPECT_EQ(view.questions, Lines{"确定清空设备所有键值? | 温馨提示"});
    EXPECT_EQ(window->Combo1->text, "0");
    const Reports sent = HexReports();
    ASSERT_EQ(sent.size(), 32u);
    EXPECT_EQ(sent.front(), "00 AA 01 00 FF FF FF FF 00");
    EXPECT_EQ(sent[1], "00 AA 01 04 FF FF FF FF 00");
    EXPECT_EQ(sent[30], "00 AA 01 78 FF FF FF FF 00");
    EXPECT_EQ(sent.back(), "00 AA 01 7C FF FF FF FF 00");
    EXPECT_EQ(LogTexts(), Lines{"已清空设备所有键值!"});
    EXPECT_TRUE(view.pauses.empty());
}

TEST_F(Commands, CancelledClearAllLeavesThePreviewAndSendsNothing) {
    Connect();
    view.answerOk = false;
    Click(window->Command1);
    EXPECT_EQ(window->TextIW->text, "aa 00 ff ff ff ff");
    EXPECT_EQ(window->Combo1->text, "1");
    EXPECT_TRUE(backend.Reports().empty());
    EXPECT_TRUE(LogTexts().empty());
}

TEST_F(Commands, RawWriteSendsTheBoxAndLogsIt) {
    Connect();
    Type(window->TextIW, "AA 01 7C 79 01 00 00");
    Click(window->Iwrite);
    EXPECT_EQ(HexReports(), Reports{"00 AA 01 7C 79 01 00 00 00"});
    EXPECT_EQ(LogTexts(), Lines{"写入数据: AA 01 7C 79 01 00 00"});
}

TEST_F(Commands, FilterReportsEachDistinctInvalidCharacterOnce) {
    const struct {
        std::string typed;
        std::string result;
        Lines reported; // one message per character, in this order
    } cases[] = {
        {"AA 0G", "AA 0", {"G"}},
        {"x1x2y", "12", {"x", "y"}},
        {"aa 01 08 03 04 00 00", "aa 01 08 03 04 00 00", {}},
        {std::string("ä1😀2ä"), "12", {"ä", "😀"}},
    };
    for (const auto& c : cases) {
        view.messages.clear();
        view.titles.clear();
        Type(window->TextIW, c.typed);
        EXPECT_EQ(window->TextIW->text, c.result);
        EXPECT_EQ(view.messages.size(), c.reported.size());
        for (const std::string& message : view.messages) {
            EXPECT_EQ(message, "请输入的数据是16进制的范围");
        }
        for (const std::string& title : view.titles) {
            EXPECT_EQ(title, "treadkey-setup");
        }
    }
}

TEST_F(Commands, FilterShowsTheIntermediateTextAfterEachMessage) {
    Lines shownWithMessage;
    view.onMessage = [&] { shownWithMessage.push_back(window->TextIW->text); };
    Type(window->TextIW, "x1x2y");
    EXPECT_EQ(shownWithMessage, (Lines{"x1x2y", "12y"}));
    EXPECT_EQ(window->TextIW->text, "12");
}

TEST_F(Commands, ReportIsCutOrZeroFilledToTheDevicesLength) {
    const struct {
        int length;
        const char* report;
    } cases[] = {
        {5, "00 AA 01 7C 79"},
        {9, "00 AA 01 7C 79 01 00 00 00"},
        {2, "00 AA"},
    };
    for (const auto& c : cases) {
        backend.Unplug(kPedal);
        Connect(c.length);
        backend.ClearWrites();
        Type(window->TextIW, "AA 01 7C 79 01 00 00");
        Click(window->Iwrite);
        EXPECT_EQ(HexReports(), Reports{c.report}) << c.length;
    }
    backend.Unplug(kPedal);
    Connect(65);
    backend.ClearWrites();
    Click(window->Iwrite);
    ASSERT_EQ(backend.Reports().size(), 1u);
    const std::vector<std::uint8_t> report = backend.Reports().front();
    ASSERT_EQ(report.size(), 65u);
    EXPECT_EQ(report[1], 0xAA);
    EXPECT_EQ(std::count(report.begin() + 8, report.end(), 0), 57);
}

TEST_F(Commands, LostConnectionIsRediscoveredInsideTheNextSend) {
    Connect();
    backend.Unplug(kPedal);
    window->Timer1_Timer();
    PlugPedal();
    Type(window->TextIW, "AA 01 7C 79 01 00 00");
    window->Iwrite_Click(); // its button is disabled since the unplug; the send re-runs discovery first
    EXPECT_TRUE(window->Link().DeviceDetected);
    EXPECT_EQ(HexReports(), Reports{"00 AA 01 7C 79 01 00 00 00"});
    EXPECT_EQ(window->Label3->text, "USB设备联接成功");
}

} // namespace
} // namespace treadkey::testing
