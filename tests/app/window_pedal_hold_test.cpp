#include "app/window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <gmock/gmock.h>

#include <vector>

namespace treadkey::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::HasSubstr;

constexpr int kPastAPedalKeystrokeMs = 600;

// The in-process stack offers no hold, as neither Windows nor the virtual pedal does.
class PedalHoldWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        PlugComposite();
        Activate(window.get());
        form().Timer1_Timer();
        Click(Key(50));
        ASSERT_EQ(backend.Writes().size(), 3U);
        backend.ClearWrites();
    }
    // The pedal's keyboard reports `usage` down (and up again, unless still held); then the keystroke it
    // types reaches the focused control, as it does where nothing holds the pedal.
    void PedalTypes(std::uint8_t usage, Qt::Key key, bool released = true) {
        backend.Send(kKeyboard, {0, 0, usage, 0, 0, 0, 0, 0});
        if (released) {
            backend.Send(kKeyboard, Bytes(8, 0));
        }
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    std::string Tooltip() const { return W<QLabel>("Label3")->toolTip().toStdString(); }
};

TEST_F(PedalHoldWindow, UnheldThePedalsKeysWriteNothingMoveNoFocusAndChangeNoBox) {
    EXPECT_THAT(Tooltip(),
                HasSubstr("踏板的按键也会送到本窗口，踏板按下期间收到的按键一律忽略：pedal-keyboard"
                          "在此无法独占；pedal-mouse在此无法独占"));
    Click(W<QPushButton>("Command3"));
    form().Timer1_Timer();
    EXPECT_THAT(Tooltip(), HasSubstr("the pedal's keys also reach this window, which ignores keys that come "
                                     "while the pedal is pressed: pedal-keyboard cannot be held here"));
    const struct {
        const char* name;
        QWidget* focus;
        std::uint8_t usage;
        Qt::Key key;
    } cases[] = {
        {"space on a key button", Key(50), 0x2C, Qt::Key_Space},
        {"tab on a key button", Key(50), 0x2B, Qt::Key_Tab},
        {"a digit in the slot box", W<QComboBox>("Combo1"), 0x20, Qt::Key_3},
        {"a digit in the delay box", W<QLineEdit>("Text_delay"), 0x22, Qt::Key_5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.focus->setFocus();
        QWidget* const focused = QApplication::focusWidget();
        const qsizetype lines = LogTexts().size();
        PedalTypes(c.usage, c.key);
        EXPECT_TRUE(backend.Writes().empty());
        EXPECT_EQ(QApplication::focusWidget(), focused);
        EXPECT_EQ(W<QComboBox>("Combo1")->currentText(), QStringLiteral("1"));
        EXPECT_EQ(W<QLineEdit>("Text_delay")->text(), QStringLiteral("0"));
        EXPECT_EQ(LogTexts().size(), lines + 1) << "the press is logged as it came";
    }
}

TEST_F(PedalHoldWindow, UnheldTheComputersOwnKeysWorkBesideThePedalBeforeAndAfterItsPress) {
    Key(50)->setFocus();
    QTest::keyClick(Key(50), Qt::Key_Space);
    EXPECT_EQ(backend.Writes().size(), 3U) << "the computer's own Space clicks the focused key";

    backend.ClearWrites();
    PedalTypes(0x2C, Qt::Key_Space, false);
    QTest::qWait(kPastAPedalKeystrokeMs);
    QTest::keyClick(Key(50), Qt::Key_Space); // what the system repeats while the pedal holds the key
    EXPECT_TRUE(backend.Writes().empty()) << "held down: still the pedal's";
    backend.Send(kKeyboard, Bytes(8, 0));
    QTest::keyClick(Key(50), Qt::Key_Space);
    EXPECT_TRUE(backend.Writes().empty()) << "just let go: still the pedal's";
    QTest::qWait(kPastAPedalKeystrokeMs);
    QTest::keyClick(Key(50), Qt::Key_Space);
    EXPECT_EQ(backend.Writes().size(), 3U);
}

} // namespace
} // namespace treadkey::testing
