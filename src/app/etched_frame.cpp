#include "app/etched_frame.h"

#include <QPainter>
#include <QStyle>

namespace treadkey {

namespace {
// The caption starts this far from the frame's left edge, with this much border cleared on each side of it.
constexpr int kCaptionIndent = 8;
constexpr int kCaptionGap = 2;
} // namespace

EtchedFrame::EtchedFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

int EtchedFrame::BorderTop() const {
    return title().isEmpty() ? 0 : fontMetrics().height() / 2;
}

QRect EtchedFrame::CaptionRect() const {
    if (title().isEmpty()) {
        return {};
    }
    const QFontMetrics metrics = fontMetrics();
    return {kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionGap, metrics.height()};
}

void EtchedFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A shadow line with a light line just inside and below it, on all four sides.
    const QRect border(0, BorderTop(), width() - 1, height() - BorderTop() - 1);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.adjusted(1, 1, 0, 0));

    const QRect caption = CaptionRect();
    if (caption.isEmpty()) {
        return;
    }
    painter.fillRect(caption, palette().color(QPalette::Window));
    style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}

} // namespace treadkey
