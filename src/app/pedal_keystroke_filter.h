#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

namespace treadkey {

// Where the pedal's input cannot be held, the keys it types reach the focused control like the computer's
// own. Installed on the application, this drops every keystroke that comes while `pedalIsTyping` says the
// pedal is sending, so that none of them clicks a key button, moves the focus or types into a box; the
// computer's keyboard works as ever the rest of the time.
class PedalKeystrokeFilter : public QObject {
public:
    explicit PedalKeystrokeFilter(std::function<bool()> pedalIsTyping)
        : pedalIsTyping_(std::move(pedalIsTyping)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
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

private:
    std::function<bool()> pedalIsTyping_;
};

} // namespace treadkey
