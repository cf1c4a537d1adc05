#include "window_fixture.h"

namespace treadkey::testing {
namespace {

using WindowFont = WindowTest;

// DejaVu Sans draws no Chinese by itself; that the desktop would lend it the glyphs does not count.
TEST_F(WindowFont, WithoutAChineseFontTheWindowStartsInEnglishSaysWhyOnceAndStillSwitchesToChinese) {
    backend.Plug({"pedal-locked", 0x2704, 0x2018, 9, false});
    ::testing::internal::CaptureStderr();
    window = std::make_unique<QtWindow>(backend, ui, QStringList{QStringLiteral("DejaVu Sans")});
    form().Form_Load();
    window->Timer1->stop();
    form().Timer1_Timer();
    form().Timer1_Timer();
    const QString stderrText = QString::fromStdString(::testing::internal::GetCapturedStderr());
    EXPECT_EQ(form().IsChinese, 0);
    EXPECT_EQ(W<QLabel>("Label_key_no")->text(), "Key No.: ");
    EXPECT_EQ(W<QPushButton>("Command3")->text(), "Chinese");
    EXPECT_EQ(W<QLabel>("Label3")->text(), "USB device is not connected!");
    const QString note =
        QStringLiteral("treadkey-setup: no installed font draws the Chinese captions (looked for "
                       "DejaVu Sans), so the window starts in English; install the package "
                       "fonts-wqy-microhei to see it in Chinese\n");
    EXPECT_EQ(stderrText.count(note), 1) << stderrText.toStdString();
    // The tooltip keeps the note above the account of the locked pedal.
    const QString tooltip = W<QLabel>("Label3")->toolTip();
    EXPECT_TRUE(tooltip.startsWith(note.mid(16).chopped(1) + "\n\n")) << tooltip.toStdString();
    EXPECT_TRUE(tooltip.contains("pedal-locked")) << tooltip.toStdString();

    Click(W<QPushButton>("Command3"));
    EXPECT_EQ(form().IsChinese, 1);
    EXPECT_EQ(W<QLabel>("Label_key_no")->text(), "键位选择: ");
    EXPECT_EQ(W<QPushButton>("Command3")->text(), "英文");
}

} // namespace
} // namespace treadkey::testing
