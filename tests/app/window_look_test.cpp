#include "app/caption_button.h"
#include "app/caption_label.h"
#include "app/etched_frame.h"
#include "app/graphical_button.h"
#include "app/window_font.h"
#include "window_fixture.h"

#include <QFontInfo>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <string>

namespace treadkey::testing {
namespace {

using Look = WindowTest;

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

// A font the window's captions are measured in, with the Debian package that brings it. An empty family is
// the window's own choice among its families.
struct FontRow {
    const char* family;
    const char* package;
    bool drawsChinese;
};

void PrintTo(const FontRow& row, std::ostream* out) {
    *out << (*row.family ? row.family : "the window's own choice");
}

constexpr FontRow kFontRows[] = {
    {"", "one of the window's families", true},     {"DejaVu Sans", "fonts-dejavu-core", false},
    {"Noto Sans", "fonts-noto-core", false},        {"WenQuanYi Micro Hei", "fonts-wqy-microhei", true},
    {"Noto Sans CJK SC", "fonts-noto-cjk", true},   {"WenQuanYi Zen Hei", "fonts-wqy-zenhei", true},
    {"AR PL UMing CN", "fonts-arphic-uming", true},
};

bool Installed(const QString& family) {
    QFont alone(family);
    alone.setStyleStrategy(QFont::NoFontMerging);
    return QFontInfo(alone).family() == family;
}

// The characters of text that font, with the desktop's fallbacks, has no glyph for: each would be a box.
QString Boxes(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    QString boxes;
    for (uint character : text.toUcs4()) {
        if (!QChar::isSpace(character) && !metrics.inFontUcs4(character)) {
            boxes += QString::fromUcs4(reinterpret_cast<const char32_t*>(&character), 1);
        }
    }
    return boxes;
}

// What goes wrong with one visible control's caption: cut, lost, hidden under a neighbour, or boxes. Empty
// when it is drawn whole.
QString CaptionFault(QWidget* control, QtWindow& window) {
    if (auto* button = qobject_cast<CaptionButton*>(control)) {
        const QFontMetrics metrics(button->CaptionFont());
        const QStringList lines = button->CaptionLines();
        const QRect area = button->CaptionArea();
        if (lines.join(QLatin1Char(' ')).simplified() != button->text().simplified()) {
            return "lost words: " + lines.join(QLatin1Char('|'));
        }
        if (lines.size() > 1 && metrics.horizontalAdvance(button->text()) <= area.width()) {
            return "wrapped though it fits on one line: " + lines.join(QLatin1Char('|'));
        }
        for (const QString& line : lines) {
            if (metrics.horizontalAdvance(line) > area.width()) {
                return "line cut at the sides: " + line;
            }
        }
        if (lines.size() * std::max(metrics.height(), metrics.lineSpacing()) > area.height()) {
            return QStringLiteral("lines cut at top and bottom: %1").arg(lines.size());
        }
        return Boxes(button->text(), button->CaptionFont());
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        return box->sizeHint().width() > box->width() ? "cut: " + box->text()
                                                      : Boxes(box->text(), box->font());
    }
    if (auto* frame = qobject_cast<EtchedFrame*>(control)) {
        return frame->CaptionRect().right() >= frame->width() ? "cut: " + frame->title()
                                                              : Boxes(frame->title(), frame->font());
    }
    if (auto* label = qobject_cast<CaptionLabel*>(control)) {
        if (QFontMetrics(label->CaptionFont()).horizontalAdvance(label->text().trimmed()) > label->width()) {
            return "cut: " + label->text();
        }
        for (QWidget* other : control->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const auto* otherLabel = qobject_cast<QLabel*>(other);
            const bool blank = otherLabel && otherLabel->text().isEmpty();
            if (other != label && !blank && other->isVisibleTo(&window) &&
                other->geometry().intersects(label->geometry())) {
                return "runs under " + other->objectName() + ": " + label->text();
            }
        }
        return Boxes(label->text(), label->CaptionFont());
    }
    if (qobject_cast<QPushButton*>(control) || qobject_cast<QLabel*>(control)) {
        return QStringLiteral("a control that cuts a caption too long for it");
    }
    return {};
}

class CaptionsIn : public ::testing::TestWithParam<FontRow> {};

TEST_P(CaptionsIn, EveryVisibleCaptionIsDrawnWholeWithoutBoxesInBothLanguages) {
    const FontRow row = GetParam();
    const QString family = QString::fromLatin1(row.family);
    if (!family.isEmpty() && !Installed(family)) {
        GTEST_SKIP() << row.family << " is not installed (Debian package " << row.package << ")";
    }
    FakeHidBackend backend;
    RecordingUi ui;
    QtWindow window(backend, ui, family.isEmpty() ? WindowFontFamilies() : QStringList{family});
    window.Form().Form_Load();
    window.Timer1->stop();
    EXPECT_EQ(window.Form().IsChinese, row.drawsChinese ? 1 : 0);
    // A modifier switched on and off again has worn a style sheet and lost it.
    for (GraphicalButton* toggle : window.Find<QWidget>("Frame1")->findChildren<GraphicalButton*>()) {
        toggle->SetBackColor(kGreen);
        toggle->SetBackColor(kButtonFace);
    }
    const QString windowFamily = QFontInfo(window.font()).family();
    for (int language = 0; language < 2; ++language) {
        window.Form().Timer1_Timer(); // the status line in the language shown
        int checked = 0;
        for (QWidget* control : window.findChildren<QWidget*>()) {
            if (control->isVisibleTo(&window)) {
                const QString drawnIn = QFontInfo(control->font()).family();
                const QString fault = drawnIn == windowFamily
                                          ? CaptionFault(control, window)
                                          : "drawn in " + drawnIn + ", not " + windowFamily;
                EXPECT_TRUE(fault.isEmpty())
                    << control->objectName().toStdString() << ": " << fault.toStdString();
                ++checked;
            }
        }
        EXPECT_GT(checked, 96 + 8 + 3);
        window.Form().Command3_Click();
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, CaptionsIn, ::testing::ValuesIn(kFontRows),
                         [](const ::testing::TestParamInfo<FontRow>& row) {
                             std::string name = *row.param.family ? row.param.family : "WindowsOwnChoice";
                             std::erase(name, ' ');
                             return name;
                         });

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
    auto* frame = qobject_cast<EtchedFrame*>(W<QGroupBox>("Frame_mouse_btn"));
    ASSERT_NE(frame, nullptr);
    const QRect caption = frame->CaptionRect();
    EXPECT_LT(caption.top(), frame->BorderTop());
    EXPECT_GT(caption.bottom(), frame->BorderTop());
    // Places count from the frame's corner: 120, 240 twips is 8, 16 pixels.
    EXPECT_EQ(W<QPushButton>("Command_L_btn")->pos(), QPoint(8, 16));
    for (QPushButton* button : {W<QPushButton>("Command_L_btn"), W<QPushButton>("Command_M_btn"),
                                W<QPushButton>("Command_R_btn")}) {
        const QRect place = button->geometry();
        EXPECT_GT(place.top(), frame->BorderTop() + 1) << button->objectName().toStdString();
        EXPECT_LT(place.bottom(), frame->height() - 2);
        EXPECT_GT(place.left(), 1);
        EXPECT_LT(place.right(), frame->width() - 2);
    }
}

} // namespace
} // namespace treadkey::testing
