#include "app/window_font.h"
#include "window_fixture.h"

namespace treadkey::testing {
namespace {

TEST(WindowFontChoice, TheFirstInstalledFamilyThatDrawsEveryTextWithItsOwnGlyphsIsTaken) {
    const QStringList chinese{QStringLiteral("键位选择: "), QStringLiteral("清除日志信息")};
    const QString microHei = QStringLiteral("WenQuanYi Micro Hei"); // installed with the build's packages
    const QString dejaVu = QStringLiteral("DejaVu Sans");
    struct Case {
        QStringList families;
        QStringList texts;
        QString chosen;
    };
    const Case cases[] = {
        {{QStringLiteral("No Such Family"), microHei}, chinese, microHei},
        // The desktop would lend DejaVu Sans the Chinese glyphs; a borrowed glyph does not count.
        {{dejaVu, microHei}, chinese, microHei},
        {{dejaVu}, chinese, QString()},
        {{dejaVu, microHei}, {QStringLiteral("Key No.: ")}, dejaVu},
        {{}, chinese, QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstFamilyDrawing(c.families, c.texts), c.chosen) << c.families.join(',').toStdString();
    }
}

class WithoutChineseFont : public WindowTest {
protected:
    void SetUp() override {
        backend.Plug({"pedal-locked", 0x2704, 0x2018, 9, false});
        ::testing::internal::CaptureStderr();
        window = std::make_unique<USB>(backend, ui, QStringList{QStringLiteral("DejaVu Sans")});
        window->Form_Load();
        window->Timer1->stop();
        window->Timer1_Timer();
        window->Timer1_Timer();
        stderrText = QString::fromStdString(::testing::internal::GetCapturedStderr());
    }
    QString stderrText;
};

TEST_F(WithoutChineseFont, TheWindowStartsInEnglishSaysWhyOnceAndStillSwitchesToChinese) {
    EXPECT_EQ(window->IsChinese, 0);
    EXPECT_EQ(window->Label_key_no->text(), "Key No.: ");
    EXPECT_EQ(window->Command3->text(), "Chinese");
    EXPECT_EQ(window->Label3->text(), "USB device is not connected!");
    const QString note =
        QStringLiteral("treadkey-setup: no installed font draws the Chinese captions (looked for "
                       "DejaVu Sans), so the window starts in English; install the package "
                       "fonts-wqy-microhei to see it in Chinese\n");
    EXPECT_EQ(stderrText.count(note), 1) << stderrText.toStdString();
    // The tooltip keeps the note above the account of the locked pedal.
    const QString tooltip = window->Label3->toolTip();
    EXPECT_TRUE(tooltip.startsWith(note.mid(16).chopped(1) + "\n\n")) << tooltip.toStdString();
    EXPECT_TRUE(tooltip.contains("pedal-locked")) << tooltip.toStdString();

    Click(window->Command3);
    EXPECT_EQ(window->IsChinese, 1);
    EXPECT_EQ(window->Label_key_no->text(), "键位选择: ");
    EXPECT_EQ(window->Command3->text(), "英文");
}

} // namespace
} // namespace treadkey::testing
