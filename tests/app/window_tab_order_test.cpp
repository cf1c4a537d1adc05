#include "editor/key_table.h"
#include "window_fixture.h"

#include <QApplication>

namespace treadkey::testing {
namespace {

using TabOrder = WindowTest;

// The focused control's name; a key by the name the command line gives it.
QString FocusName() {
    const QWidget* focused = QApplication::focusWidget();
    while (focused->objectName().isEmpty()) {
        focused = focused->parentWidget(); // the slot box's line edit
    }
    const QString name = focused->objectName();
    if (!name.startsWith(QStringLiteral("Command_key_"))) {
        return name;
    }
    const std::string_view key = KeyTable()[name.mid(12).toUInt()].name;
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

TEST_F(TabOrder, TabWalksTheSettingsThenTheKeyboardRowByRowAsDrawnThenTheLog) {
    Connect(); // the keys and toggles take the focus only while enabled
    Activate(window.get());
    W<QComboBox>("Combo1")->setFocus();
    const QStringList expected =
        QStringList{
            "Combo1 Text_delay Check_once Command_L_btn Command_M_btn Command_R_btn Command3",
            "esc f1 f2 f3 f4 f5 f6 f7 f8 f9 f10 f11 f12 print_screen scroll_lock pause num_lock kp_divide "
            "kp_multiply kp_minus",
            "grave 1 2 3 4 5 6 7 8 9 0 minus equal backspace insert home page_up kp_7 kp_8 kp_9 kp_plus",
            "tab q w e r t y u i o p left_bracket right_bracket backslash delete end page_down kp_4 kp_5 "
            "kp_6",
            "caps_lock a s d f g h j k l semicolon apostrophe enter kp_1 kp_2 kp_3 kp_enter",
            "Command_shift z x c v b n m comma period slash Command_shift_r up kp_0 kp_dot",
            "Command_ctrl Command_alt Command_win space Command_alt_r Command_win_r menu Command_ctrl_r left "
            "down right",
            "Clear lstResults Combo1", // and round again, past no hidden control
        }
            .join(QLatin1Char(' '))
            .split(QLatin1Char(' '));
    QStringList walked{FocusName()};
    while (walked.size() < expected.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << FocusName();
    }
    EXPECT_EQ(walked, expected);
    EXPECT_TRUE(backend.Writes().empty());
}

} // namespace
} // namespace treadkey::testing
