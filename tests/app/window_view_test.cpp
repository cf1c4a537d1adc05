#include "fixtures/scratch_directory.h"
#include "window_fixture.h"
#include "written_slot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <QTextDocumentFragment>

namespace treadkey::testing {
namespace {

// The text a tooltip shows: one that looks like HTML is read as HTML.
QString Shown(const QString& tooltip) {
    return Qt::mightBeRichText(tooltip) ? QTextDocumentFragment::fromHtml(tooltip).toPlainText() : tooltip;
}

using View = WindowTest;

// A key's name such as "< A >" would be taken for a tag and dropped: the tooltip shows it as written.
TEST_F(View, ShowsKeyNamesThatLookLikeTagsInTooltips) {
    ScratchDirectory scratch;
    ui.stateDirectory = scratch / "state";
    ASSERT_EQ(RecordSlot3HoldsA(*ui.stateDirectory), "");
    Connect();
    W<QComboBox>("Combo1")->setEditText("3");
    EXPECT_EQ(Shown(W<QComboBox>("Combo1")->toolTip()),
              QString::fromUtf8("记录：地址3为 < A >，2026-03-01T12:00:00Z 由 treadkeyctl 写入"));
}

// What reaches a widget by a click, a key or a program reaches the window's behaviour, once.
TEST_F(View, HandsOverWhatTheWidgetsTake) {
    auto* once = W<QCheckBox>("Check_once");
    QTest::mouseClick(once, Qt::LeftButton, {}, QPoint(8, once->height() / 2)); // on its box

    EXPECT_TRUE(form().Check_once->value);
    once->setChecked(false);
    EXPECT_FALSE(form().Check_once->value);
    once->setChecked(true);
    EXPECT_TRUE(form().Check_once->value);
    QTest::keyClick(once, Qt::Key_Space);
    EXPECT_FALSE(form().Check_once->value);
    auto* delay = W<QLineEdit>("Text_delay");
    delay->clear();
    QTest::keyClicks(delay, "70000");
    EXPECT_EQ(form().Text_delay->text, "65535"); // clamped by the window, and shown so
    EXPECT_EQ(delay->text(), "65535");
    W<QComboBox>("Combo1")->setEditText("7");
    EXPECT_EQ(form().Combo1->text, "7");
}

} // namespace
} // namespace treadkey::testing
