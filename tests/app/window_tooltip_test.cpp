#include "fixtures/scratch_directory.h"
#include "record/record_file.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QTextDocumentFragment>

namespace treadkey::testing {
namespace {

// The text a tooltip shows: one that looks like HTML is read as HTML.
QString Shown(const QString& tooltip) {
    return Qt::mightBeRichText(tooltip) ? QTextDocumentFragment::fromHtml(tooltip).toPlainText() : tooltip;
}

using Tooltips = WindowTest;

// A key's name such as "< A >" would be taken for a tag and dropped: the tooltip shows it as written.
TEST_F(Tooltips, ShowKeyNamesThatLookLikeTags) {
    ScratchDirectory scratch;
    ui.stateDirectory = scratch / "state";
    ASSERT_EQ(UpdatePedalRecord(
                  PedalRecordFile(*ui.stateDirectory, "usb-1-1"), "usb-1-1",
                  [](PedalRecord& record) {
                      record.slotWords[2] = {WordSource::Written,
                                             {{0x00, 0x04, 0, 0}, WordWriter::KeyCommand},
                                             "2026-03-01T12:00:00Z",
                                             "treadkeyctl",
                                             ""};
                  },
                  "t")
                  .error,
              "");
    Connect();
    W<QComboBox>("Combo1")->setEditText("3");
    EXPECT_EQ(Shown(W<QComboBox>("Combo1")->toolTip()),
              QString::fromUtf8("记录：地址3为 < A >，2026-03-01T12:00:00Z 由 treadkeyctl 写入"));
}

} // namespace
} // namespace treadkey::testing
