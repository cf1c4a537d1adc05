#include "app/pedal_keystroke_filter.h"

#include <QEvent>

namespace treadkey {

bool PedalKeystrokeFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    if (!pedalIsTyping_()) {
        return false;
    }
    // Taken as handled, so that no shortcut acts on it either.
    event->accept();
    return true;
}

} // namespace treadkey
