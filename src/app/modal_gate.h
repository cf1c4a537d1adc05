#pragma once

#include "app/ui_services.h"

#include <array>
#include <functional>

class QObject;

namespace treadkey {

// What must not run inside a handler while its message box is open.
enum class HeldWork { Tick, Close };

// A message box runs an event loop of its own, so timer ticks and the signal-driven close would otherwise run
// in the middle of the handler that opened it. The gate opens every box through the desktop's services and,
// while one is open, holds that work instead; each held kind runs once after the box has closed and its
// handler has returned to the event loop.
class ModalGate {
public:
    // Held work runs in the event loop of owner, and not at all once owner is gone.
    ModalGate(UiServices& ui, QObject& owner);

    void ShowMessage(const QString& text, const QString& title);
    bool AskOkCancel(const QString& text, const QString& title);

    bool BoxOpen() const { return openBoxes_ > 0; }
    // Keeps work for later; a second hold of the same kind replaces the first.
    void Hold(HeldWork kind, std::function<void()> work);
    // The window has unloaded: what is held never runs, and nothing is held from now on.
    void DropHeldWork();

private:
    void BoxClosed();
    void RunHeld();

    UiServices& ui_;
    QObject& owner_;
    int openBoxes_ = 0;
    bool dropped_ = false;
    std::array<std::function<void()>, 2> held_;
};

} // namespace treadkey
