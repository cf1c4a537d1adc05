#include "app/window_controls.h"
#include "app/form/window_wording.h"
#include "window_fixture.h"

#include <QFontInfo>

namespace treadkey::testing {
namespace {

using StartUp = WindowTest;

QString CaptionOf(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    return qobject_cast<const QGroupBox*>(control)->title();
}

QStringList SwitchableCaptions(const USB& window) {
    QStringList captions;
    for (const SwitchableCaption& c : kSwitchableCaptions) {
        captions << CaptionOf(
            window.findChild<QWidget*>(QString::fromUtf8(c.control.data(), c.control.size())));
    }
    return captions;
}

TEST_F(StartUp, WindowIsFixedTitledAndCentred) {
    EXPECT_EQ(window->windowTitle(), "USB Treadkey KeyMouse Setup V2.4");
    EXPECT_EQ(window->size(), QSize(1066, 673));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Timer1->interval(), 350);
}

TEST_F(StartUp, CaptionsAreChineseAfterStartUpEnglishAfterOneSwitchAndBackAfterTwo) {
    const QStringList chinese = {"键位选择: ", "延时响应: ",   "单次输出", "写入鼠标按键操作",
                                 "左键",       "中键",         "右键",     "点击按键即可写入键值到模拟器",
                                 "状态信息",   "清除日志信息", "英文"};
    const QStringList english = {
        "Key No.: ", "Key Dealy: ", "Output Once", "Write Mouse Button",
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

TEST_F(StartUp, AutoSizedLabelsTakeTheWidthOfTheNewCaption) {
    const int chineseWidth = window->Label7->width();
    Click(window->Command3);
    EXPECT_GT(window->Label7->width(), chineseWidth);
    EXPECT_EQ(window->Label7->width(), window->Label7->sizeHint().width());
}

TEST_F(StartUp, InitialStateOfTheSettingsAndStatus) {
    EXPECT_EQ(window->Label3->text(), "USB device is not Link!");
    EXPECT_EQ(window->Combo1->currentText(), "1");
    ASSERT_EQ(window->Combo1->count(), 12);
    EXPECT_EQ(window->Combo1->itemText(0), "1");
    EXPECT_EQ(window->Combo1->itemText(11), "12");
    EXPECT_EQ(window->Text_delay->text(), "0");
    EXPECT_FALSE(window->Check_once->isChecked());
    EXPECT_TRUE(window->Option2->isChecked());
    EXPECT_EQ(window->TextIW->text(), "AA 03 00 00 00 00 00");
    EXPECT_EQ(window->TextVID->text(), "2704");
    EXPECT_EQ(window->TextPID->text(), "2018");
    EXPECT_EQ(window->Command_auto_run->BackColor(), GraphicalButton::kButtonFace);
}

TEST_F(StartUp, HiddenControlsExistAndStayHiddenWhateverHappens) {
    const QList<QWidget*> hidden = {
        window->Frame4,   window->Option1,  window->Option2, window->Command_auto_run,
        window->Command2, window->Command1, window->Frame2,  window->TextIW,
        window->Iwrite,   window->contion,  window->TextVID, window->TextPID,
        window->Label1,   window->Label2,   Key(21),         Key(79)};
    const auto expectHidden = [&] {
        for (QWidget* control : hidden) {
            EXPECT_FALSE(control->isVisible()) << control->objectName().toStdString();
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
    QList<QWidget*> group;
    for (QPushButton* key : window->Command_key) {
        group << key;
    }
    group << window->Command_shift << window->Command_ctrl << window->Command_alt << window->Command_win
          << window->Command_shift_r << window->Command_ctrl_r << window->Command_alt_r
          << window->Command_win_r << window->Command1 << window->Iwrite << window->Command_L_btn
          << window->Command_M_btn << window->Command_R_btn << window->Command_auto_run << window->Command2;
    const QList<QWidget*> outside = {window->Combo1, window->Text_delay, window->Check_once, window->Command3,
                                     window->Clear,  window->contion,    window->TextVID,    window->TextPID};
    for (QWidget* control : group) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    window->EnableWriteButtons();
    for (QWidget* control : group) {
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
    for (QWidget* control : outside) {
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_FALSE(window->TextIW->isEnabled());
    window->DisableWriteButtons();
    EXPECT_FALSE(Key(50)->isEnabled());
    EXPECT_TRUE(window->Combo1->isEnabled());
}

// A table row whose control name matches nothing is skipped without a sound, so every name must find its one
// control.
TEST_F(StartUp, EveryControlTheWindowsTablesNameIsExactlyOneControl) {
    const auto count = [this](std::string_view name) {
        return window
            ->findChildren<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))
            .size();
    };
    for (const SwitchableCaption& c : kSwitchableCaptions) {
        EXPECT_EQ(count(c.control), 1) << c.control;
        EXPECT_FALSE(DesignCaption(c.control).empty()) << c.control;
    }
    for (const std::string_view name : kModifierToggleControls) {
        EXPECT_EQ(count(name), 1) << name;
        EXPECT_NE(window->findChild<GraphicalButton*>(QString::fromUtf8(name.data(), name.size())), nullptr)
            << name;
    }
    for (const std::string_view name : kMouseButtonControls) {
        EXPECT_EQ(count(name), 1) << name;
    }
    for (const std::string_view name : kWriteButtonsAfterKeys) {
        EXPECT_EQ(count(name), 1) << name;
    }
    EXPECT_TRUE(DesignCaption("no such control").empty());
}

TEST_F(StartUp, ClicksOnDisabledKeysDoNothing) {
    Click(Key(50));
    Click(window->Command_ctrl);
    EXPECT_TRUE(LogTexts().isEmpty());
    EXPECT_EQ(window->Command_ctrl->BackColor(), GraphicalButton::kButtonFace);
}

TEST_F(StartUp, KeyButtonsCarryTheirCaptionsNamesAndPlaces) {
    const struct {
        int index;
        const char* caption;
        QRect pixels;
        const QWidget* container;
    } cases[] = {
        {50, "A", {96, 136, 33, 33}, window->Frame1},         {76, " ", {208, 216, 169, 33}, window->Frame1},
        {81, "Num  Lock", {848, 16, 41, 41}, window->Frame1}, {27, "\\", {568, 96, 33, 33}, window->Frame1},
        {21, "numlock", {992, 104, 57, 33}, window.get()},    {79, "enter", {944, 104, 41, 33}, window.get()},
    };
    for (const auto& c : cases) {
        QPushButton* key = Key(c.index);
        EXPECT_EQ(key->objectName(), QStringLiteral("Command_key_%1").arg(c.index));
        EXPECT_EQ(key->text(), QString::fromUtf8(c.caption)) << c.index;
        EXPECT_EQ(key->geometry(), c.pixels) << c.index;
        EXPECT_EQ(key->parentWidget(), c.container) << c.index;
    }
    EXPECT_EQ(window->findChild<QPushButton*>("Command_key_50"), Key(50));
}

TEST_F(StartUp, ControlsSitWhereTheDesignPutsThem) {
    EXPECT_EQ(window->Label3->pos(), QPoint(8, 8));
    EXPECT_EQ(window->Combo1->geometry(), QRect(104, 64, 57, 22));
    EXPECT_EQ(window->Frame1->geometry(), QRect(8, 144, 1049, 257));
    EXPECT_EQ(window->lstResults->geometry(), QRect(144, 408, 913, 256));
    EXPECT_EQ(window->Command_L_btn->geometry(), QRect(8, 16, 57, 41));
    EXPECT_EQ(window->Command_L_btn->parentWidget(), window->Frame_mouse_btn);
    EXPECT_EQ(window->Command_ctrl_r->geometry(), QRect(552, 216, 49, 33));
    EXPECT_EQ(window->Option2->parentWidget(), window->Frame4);
    EXPECT_EQ(window->TextIW->parentWidget(), window->Frame2);
}

TEST_F(StartUp, FontsAreOneInstalledFamilyOfTheWindowsListThatDrawsChinese) {
    const QFont font = window->font();
    ASSERT_EQ(font.families().size(), 1);
    const QString family = font.families().first();
    EXPECT_TRUE(WindowFontFamilies().contains(family)) << family.toStdString();
    EXPECT_EQ(QFontInfo(font).family(), family); // installed, not a stand-in the desktop picked
    EXPECT_EQ(window->IsChinese, 1);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 10.5);
    EXPECT_DOUBLE_EQ(window->Label3->font().pointSizeF(), 14.25);
    EXPECT_TRUE(window->Label1->font().bold());
    EXPECT_EQ(window->Label1->font().families(), (QStringList{"NSimSun", family}));
    EXPECT_DOUBLE_EQ(window->contion->font().pointSizeF(), 12);
    EXPECT_EQ(Key(50)->font(), font);
}

TEST_F(StartUp, ResultListAppendsSelectsAndClears) {
    window->AddResultLine(QStringLiteral("one"));
    window->AddResultLine(QString());
    ASSERT_EQ(window->lstResults->count(), 2);
    EXPECT_EQ(window->lstResults->currentRow(), 1);
    EXPECT_TRUE(window->lstResults->item(1)->text().endsWith("]: "));
    Click(window->Clear);
    EXPECT_EQ(window->lstResults->count(), 0);
    window->AddResultLine(QStringLiteral("CloseHandle (HIDHandle)"));
    EXPECT_EQ(window->lstResults->count(), 1);
    EXPECT_EQ(window->lstResults->currentRow(), 0);
    EXPECT_EQ(LogTexts(), QStringList{"CloseHandle (HIDHandle)"});
}

} // namespace
} // namespace treadkey::testing
