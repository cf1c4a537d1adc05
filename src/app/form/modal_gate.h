#pragma once

#include "app/form/form_view.h"

#include <array>
#include <functional>
#include <string>

namespace treadkey {

// What must not run inside a handler while its message box is open.
enum class HeldWork { Tick, Close };

// A message box runs an event loop of its own, so timer ticks and the close would otherwise run in the middle
// of the handler that opened it. The gate opens every box through the view and, while one is open, holds
// that work instead; each held kind runs once after the box has closed and its handler has returned to the
// event loop.
class ModalGate {
public:
    explicit ModalGate(FormView& view) : view_(view) {}

    void ShowMessage(const std::string& text, const std::string& title);
    bool AskOkCancel(const std::string& text, const std::string& title);

    bool BoxOpen() const { return openBoxes_ > 0; }
    // Keeps work for later; a second hold of the same kind replaces the first.
    void Hold(HeldWork kind, std::function<void()> work);
    // The window has unloaded: what is held never runs, and nothing is held from now on.
    void DropHeldWork();

private:
    void BoxClosed();
    void RunHeld();

    FormView& view_;
    int openBoxes_ = 0;
    bool dropped_ = false;
    std::array<std::function<void()>, 2> held_;
};

} // namespace treadkey
