#include "app/form/window_wording.h"
#include "form_fixture.h"

#include <algorithm>

namespace treadkey::testing {
namespace {

using StartUp = FormTest;

Lines SwitchableCaptions(USB& window) {
    Lines captions;
    for (const SwitchableCaption& c : kSwitchableCaptions) {
        captions.push_back(window.FindControl(c.control)->text);
    }
    return captions;
}

// Whether the user can see a control: it and every frame it sits in are visible.
bool Shown(USB& window, const Control& control) {
    return control.visible &&
           (control.spec.container.empty() || Shown(window, *window.FindControl(control.spec.container)));
}

TEST_F(StartUp, WindowIsShownAndItsTimerTicksEvery350Milliseconds) {
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(view.timerInterval, 350);
}

TEST_F(StartUp, CaptionsAreChineseAfterStartUpEnglishAfterOneSwitchAndBackAfterTwo) {
    const Lines chinese = {"键位选择: ", "延时响应: ",   "单次输出", "写入鼠标按键操作",
                           "左键",       "中键",         "右键",     "点击按键即可写入键值到模拟器",
                           "状态信息",   "清除日志信息", "英文"};
    const Lines english = {"Key No.: ", "Key Dealy: ", "Output Once", "Write Mouse Button",
                           "L BTN",     "M BTN",       "R BTN",       "Clcik Then Button Write To USB Device",
                           "Status",    "Clear",       "Chinese"};
    EXPECT_EQ(window->IsChinese, 1);
    EXPECT_EQ(SwitchableCaptions(*window), chinese);
    Click(window->Command3);
    EXPECT_EQ(window->IsChinese, 0);
    EXPECT_EQ(SwitchableCaptions(*window), english);
    Click(window->Command3);
    EXPECT_EQ(SwitchableCaptions(*window), chinese);
}

TEST_F(StartUp, InitialStateOfTheSettingsAndStatus) {
    EXPECT_EQ(window->Label3->text, "USB device is not Link!");
    EXPECT_EQ(window->Combo1->text, "1");
    ASSERT_EQ(window->Combo1->items.size(), 12u);
    EXPECT_EQ(window->Combo1->items[0], "1");
    EXPECT_EQ(window->Combo1->items[11], "12");
    EXPECT_EQ(window->Text_delay->text, "0");
    EXPECT_FALSE(window->Check_once->value);
    EXPECT_TRUE(window->Option2->value);
    EXPECT_EQ(window->TextIW->text, "AA 03 00 00 00 00 00");
    EXPECT_EQ(window->TextVID->text, "2704");
    EXPECT_EQ(window->TextPID->text, "2018");
    EXPECT_EQ(window->Command_auto_run->backColor, kButtonFace);
}

TEST_F(StartUp, HiddenControlsExistAndStayHiddenWhateverHappens) {
    const std::vector<Control*> hidden = {
        window->Frame4,   window->Option1,  window->Option2, window->Command_auto_run,
        window->Command2, window->Command1, window->Frame2,  window->TextIW,
        window->Iwrite,   window->contion,  window->TextVID, window->TextPID,
        window->Label1,   window->Label2,   Key(21),         Key(79)};
    const auto expectHidden = [&] {
        for (const Control* control : hidden) {
            EXPECT_FALSE(Shown(*window, *control)) << control->spec.name;
        }
    };
    expectHidden();
    Connect();
    expectHidden();
    Click(window->Command3);
    backend.Unplug(kPedal);
    window->Timer1_Timer();
    expectHidden();
}

TEST_F(StartUp, EveryWritingControlIsDisabledAndSwitchesAsOneGroup) {
    std::vector<Control*> group(window->Command_key.begin(), window->Command_key.end());
    for (Control* control :
         {window->Command_shift, window->Command_ctrl, window->Command_alt, window->Command_win,
          window->Command_shift_r, window->Command_ctrl_r, window->Command_alt_r, window->Command_win_r,
          window->Command1, window->Iwrite, window->Command_L_btn, window->Command_M_btn,
          window->Command_R_btn, window->Command_auto_run, window->Command2}) {
        group.push_back(control);
    }
    const std::vector<Control*> outside = {window->Combo1,   window->Text_delay, window->Check_once,
                                           window->Command3, window->Clear,      window->contion,
                                           window->TextVID,  window->TextPID};
    for (const Control* control : group) {
        EXPECT_FALSE(control->enabled) << control->spec.name;
    }
    window->EnableWriteButtons();
    for (const Control* control : group) {
        EXPECT_TRUE(control->enabled) << control->spec.name;
    }
    for (const Control* control : outside) {
        EXPECT_TRUE(control->enabled) << control->spec.name;
    }
    EXPECT_FALSE(window->TextIW->enabled);
    window->DisableWriteButtons();
    EXPECT_FALSE(Key(50)->enabled);
    EXPECT_TRUE(window->Combo1->enabled);
}

// A table row whose control name matches nothing would be a handler that never runs, so every name must find
// its one control, made from a row of the control table.
TEST_F(StartUp, EveryControlTheWindowsTablesNameIsExactlyOneControl) {
    const auto count = [this](std::string_view name) {
        return std::count_if(window->Controls().begin(), window->Controls().end(),
                             [name](const Control& control) { return control.spec.name == name; });
    };
    for (const SwitchableCaption& c : kSwitchableCaptions) {
        EXPECT_EQ(count(c.control), 1) << c.control;
        ASSERT_NE(FindControl(c.control), nullptr) << c.control;
        EXPECT_FALSE(FindControl(c.control)->caption.empty()) << c.control;
    }
    for (const std::string_view name : kModifierToggleControls) {
        EXPECT_EQ(count(name), 1) << name;
        ASSERT_NE(window->FindControl(name), nullptr) << name;
        EXPECT_EQ(window->FindControl(name)->spec.kind, ControlKind::GraphicalButton) << name;
    }
    for (const std::string_view name : kMouseButtonControls) {
        EXPECT_EQ(count(name), 1) << name;
    }
    for (const std::string_view name : kWriteButtonsAfterKeys) {
        EXPECT_EQ(count(name), 1) << name;
    }
    EXPECT_EQ(FindControl("no such control"), nullptr);
    EXPECT_EQ(window->FindControl("no such control"), nullptr);
}

TEST_F(StartUp, ClicksOnDisabledKeysDoNothing) {
    Click(Key(50));
    Click(window->Command_ctrl);
    EXPECT_TRUE(LogTexts().empty());
    EXPECT_EQ(window->Command_ctrl->backColor, kButtonFace);
}

TEST_F(StartUp, KeyButtonsCarryTheirCaptionsNamesAndFrames) {
    const struct {
        int index;
        const char* caption;
        const char* container; // empty: the window
    } cases[] = {
        {50, "A", "Frame1"},  {76, " ", "Frame1"}, {81, "Num  Lock", "Frame1"},
        {27, "\\", "Frame1"}, {21, "numlock", ""}, {79, "enter", ""},
    };
    for (const auto& c : cases) {
        const Control* key = Key(c.index);
        EXPECT_EQ(key->spec.name, "Command_key_" + std::to_string(c.index));
        EXPECT_EQ(key->text, c.caption) << c.index;
        EXPECT_EQ(key->spec.container, c.container) << c.index;
    }
    EXPECT_EQ(window->FindControl("Command_key_50"), Key(50));
}

TEST_F(StartUp, ResultLinesAreStampedAndTheClearButtonRemovesThem) {
    window->AddResultLine("one");
    window->AddResultLine("");
    ASSERT_EQ(view.lines.size(), 2u);
    EXPECT_EQ(view.lines[0], "[" + view.stamp + "]: one");
    EXPECT_TRUE(view.lines[1].ends_with("]: "));
    Click(window->Clear);
    EXPECT_TRUE(view.lines.empty());
    window->AddResultLine("CloseHandle (HIDHandle)");
    EXPECT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(LogTexts(), Lines{"CloseHandle (HIDHandle)"});
}

} // namespace
} // namespace treadkey::testing
