#include "app/caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace treadkey {

CaptionButton::CaptionButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

int CaptionButton::CaptionWidth() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).width();
}

QStringList CaptionButton::CaptionLines() const {
    const QString caption = text();
    const QFontMetrics metrics = fontMetrics();
    const int width = CaptionWidth();
    if (metrics.horizontalAdvance(caption) <= width) {
        return {caption};
    }
    // Greedy, as the classic buttons break: as many words on a line as fit, a word too long for any line
    // alone on its own.
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

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear(); // the bevel alone; the lines follow
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown() || isChecked()) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.drawItemText(area, Qt::AlignCenter, palette(), isEnabled(),
                         CaptionLines().join(QLatin1Char('\n')), QPalette::ButtonText);
}

} // namespace treadkey
