#include "app/caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace treadkey {

namespace {

// Greedy, as the classic buttons break: as many words on a line as fit, a word too long for any line alone
// on its own.
QStringList WrapAtSpaces(const QString& caption, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(caption) <= width) {
        return {caption};
    }
    QStringList lines;
    for (const QString& word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!lines.isEmpty()) {
            const QString longer = lines.last() + QLatin1Char(' ') + word;
            if (metrics.horizontalAdvance(longer) <= width) {
                lines.last() = longer;
                continue;
            }
        }
        lines << word;
    }
    return lines;
}

bool Fits(const QStringList& lines, const QFontMetrics& metrics, QSize area) {
    const bool narrowEnough = std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
        return metrics.horizontalAdvance(line) <= area.width();
    });
    const int lineHeight = std::max(metrics.height(), metrics.lineSpacing());
    return narrowEnough && static_cast<int>(lines.size()) * lineHeight <= area.height();
}

} // namespace

CaptionButton::CaptionButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

QRect CaptionButton::CaptionArea() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

QFont CaptionButton::CaptionFont() const {
    return Fit().font;
}

QStringList CaptionButton::CaptionLines() const {
    return Fit().lines;
}

CaptionButton::FittedCaption CaptionButton::Fit() const {
    // Below this the caption is unreadable anyway; a button that small draws it there, cut.
    constexpr double kSmallestPoints = 4;
    constexpr double kStep = 0.5;
    const QSize area = CaptionArea().size();
    FittedCaption fitted{font(), {}};
    for (;;) {
        const QFontMetrics metrics(fitted.font);
        fitted.lines = WrapAtSpaces(text(), metrics, area.width());
        if (Fits(fitted.lines, metrics, area) || fitted.font.pointSizeF() - kStep < kSmallestPoints) {
            return fitted;
        }
        fitted.font.setPointSizeF(fitted.font.pointSizeF() - kStep);
    }
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear(); // the bevel alone; the lines follow
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = CaptionArea();
    if (isDown() || isChecked()) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    const FittedCaption fitted = Fit();
    painter.setFont(fitted.font);
    painter.drawItemText(area, Qt::AlignCenter, palette(), isEnabled(), fitted.lines.join(QLatin1Char('\n')),
                         QPalette::ButtonText);
}

} // namespace treadkey
