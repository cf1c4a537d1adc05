#include "app/caption_button.h"
#include "app/etched_frame.h"
#include "window_fixture.h"

#include <QImage>
#include <QPixmap>

namespace treadkey::testing {
namespace {

using Look = WindowTest;

// The visible keys and the eight toggles: every button that carries a key or modifier caption.
std::vector<CaptionButton*> VisibleCaptionButtons(USB& window) {
    std::vector<CaptionButton*> buttons;
    for (CaptionButton* button : window.Frame1->findChildren<CaptionButton*>()) {
        if (button->isVisibleTo(&window)) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

// Rows of the rendered button, in logical pixels, that hold any pixel much darker than the button face.
std::vector<bool> InkedRows(QWidget* button) {
    const QImage image = button->grab().toImage();
    const double ratio = image.devicePixelRatio();
    const QRgb face = image.pixel(image.width() / 2, static_cast<int>(3 * ratio));
    std::vector<bool> inked(static_cast<std::size_t>(button->height()), false);
    // Inside the bevel only: the borders are dark too.
    for (int y = static_cast<int>(4 * ratio); y < image.height() - static_cast<int>(4 * ratio); ++y) {
        for (int x = static_cast<int>(4 * ratio); x < image.width() - static_cast<int>(4 * ratio); ++x) {
            if (qGray(image.pixel(x, y)) + 80 < qGray(face)) {
                inked[static_cast<std::size_t>(y / ratio)] = true;
            }
        }
    }
    return inked;
}

TEST_F(Look, EveryKeyAndToggleCaptionFitsItsButtonWrappingAtSpacesOnlyWhenItMust) {
    const std::vector<CaptionButton*> buttons = VisibleCaptionButtons(*window);
    ASSERT_EQ(buttons.size(), 96u + 8u);
    for (CaptionButton* button : buttons) {
        const QString caption = button->text();
        const QFontMetrics metrics = button->fontMetrics();
        const QStringList lines = button->CaptionLines();
        const bool fitsOnOneLine = metrics.horizontalAdvance(caption) <= button->CaptionWidth();
        SCOPED_TRACE(caption.toStdString());
        EXPECT_EQ(lines.size() == 1, fitsOnOneLine || !caption.trimmed().contains(QLatin1Char(' ')));
        if (lines.size() > 1) {
            EXPECT_EQ(lines.join(QLatin1Char(' ')), caption.simplified()); // broken at spaces, nothing lost
        } else {
            EXPECT_EQ(lines, QStringList{caption});
        }
        for (const QString& line : lines) {
            EXPECT_LE(metrics.horizontalAdvance(line), button->width()) << line.toStdString();
        }
        EXPECT_LE(static_cast<int>(lines.size()) * metrics.lineSpacing(), button->height());
    }
}

TEST_F(Look, NumLockIsDrawnOnTwoLinesAndF1OnOne) {
    Connect(); // enabled keys draw their captions dark
    auto* numLock = static_cast<CaptionButton*>(Key(81));
    auto* f1 = static_cast<CaptionButton*>(Key(0));
    ASSERT_EQ(numLock->text(), "Num  Lock"); // the caption itself is not broken
    EXPECT_EQ(numLock->CaptionLines(), (QStringList{"Num", "Lock"}));
    EXPECT_EQ(f1->CaptionLines(), QStringList{"F1"});

    // A single line, centred, inks only the middle band of the button; two lines reach above and below it.
    for (CaptionButton* button : {numLock, f1}) {
        const int lineHeight = button->fontMetrics().height();
        const int bandTop = (button->height() - lineHeight) / 2;
        const std::vector<bool> inked = InkedRows(button);
        bool outsideBand = false;
        for (int y = 0; y < button->height(); ++y) {
            if (inked[static_cast<std::size_t>(y)] && (y < bandTop - 1 || y > bandTop + lineHeight + 1)) {
                outsideBand = true;
            }
        }
        EXPECT_EQ(outsideBand, button == numLock) << button->text().toStdString();
    }
}

TEST_F(Look, FrameCaptionSitsOnTheTopBorderAndTheMouseButtonsLieInsideIt) {
    auto* frame = qobject_cast<EtchedFrame*>(window->Frame_mouse_btn);
    ASSERT_NE(frame, nullptr);
    const QRect caption = frame->CaptionRect();
    EXPECT_LT(caption.top(), frame->BorderTop());
    EXPECT_GT(caption.bottom(), frame->BorderTop());
    // Places count from the frame's corner: 120, 240 twips is 8, 16 pixels.
    EXPECT_EQ(window->Command_L_btn->pos(), QPoint(8, 16));
    for (QPushButton* button : {window->Command_L_btn, window->Command_M_btn, window->Command_R_btn}) {
        const QRect place = button->geometry();
        EXPECT_GT(place.top(), frame->BorderTop() + 1) << button->objectName().toStdString();
        EXPECT_LT(place.bottom(), frame->height() - 2);
        EXPECT_GT(place.left(), 1);
        EXPECT_LT(place.right(), frame->width() - 2);
    }
}

} // namespace
} // namespace treadkey::testing
