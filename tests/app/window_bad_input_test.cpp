#include "window_fixture.h"

namespace treadkey::testing {
namespace {

using BadInput = WindowTest;

// Only the line edit can hand the window a lone UTF-16 surrogate, which UTF-8 cannot carry; the command box's
// filter drops it with one message. The window's own handling of what users type is tested through the fake
// view.
TEST_F(BadInput, CommandBoxDropsBrokenUtf16) {
    const struct {
        QString typed;
        QString result;
        qsizetype messages;
    } cases[] = {
        {QString("A") + QChar(0xD800) + "B" + QChar(0xDC00), "AB", 1}, // lone surrogates
        {QString("?") + QChar(0xD800), "", 2}, // a surrogate is no question mark the user typed
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        W<QLineEdit>("TextIW")->setText(c.typed);
        EXPECT_EQ(W<QLineEdit>("TextIW")->text(), c.result) << c.typed.toStdString();
        EXPECT_EQ(ui.messages.size(), c.messages) << c.typed.toStdString();
    }
}

} // namespace
} // namespace treadkey::testing
