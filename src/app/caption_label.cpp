#include "app/caption_label.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace treadkey {

CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

void CaptionLabel::SetRoom(int width) {
    room_ = width;
    updateGeometry();
}

QFont CaptionLabel::CaptionFont() const {
    // Below this the caption is unreadable anyway.
    constexpr double kSmallestPoints = 4;
    constexpr double kStep = 0.5;
    // A trailing space draws nothing, and may run on under the neighbour.
    QString ink = text();
    while (ink.endsWith(QLatin1Char(' '))) {
        ink.chop(1);
    }
    QFont fitted = font();
    while (QFontMetrics(fitted).horizontalAdvance(ink) > room_ &&
           fitted.pointSizeF() - kStep >= kSmallestPoints) {
        fitted.setPointSizeF(fitted.pointSizeF() - kStep);
    }
    return fitted;
}

QSize CaptionLabel::sizeHint() const {
    const QSize own = QLabel::sizeHint();
    return {std::min(own.width(), room_), own.height()};
}

void CaptionLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(CaptionFont());
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(),
                          text(), foregroundRole());
}

} // namespace treadkey
