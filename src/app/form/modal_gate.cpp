#include "app/form/modal_gate.h"

#include <utility>

namespace treadkey {

void ModalGate::ShowMessage(const std::string& text, const std::string& title) {
    ++openBoxes_;
    view_.ShowMessage(text, title);
    BoxClosed();
}

bool ModalGate::AskOkCancel(const std::string& text, const std::string& title) {
    ++openBoxes_;
    const bool ok = view_.AskOkCancel(text, title);
    BoxClosed();
    return ok;
}

void ModalGate::Hold(HeldWork kind, std::function<void()> work) {
    if (!dropped_) {
        held_[static_cast<std::size_t>(kind)] = std::move(work);
    }
}

void ModalGate::DropHeldWork() {
    dropped_ = true;
    held_.fill(nullptr);
}

void ModalGate::BoxClosed() {
    --openBoxes_;
    // Not now: the handler that opened the box goes on first. A posted call runs when control is back in an
    // event loop, which may also be the next box's; RunHeld holds on there.
    if (openBoxes_ == 0) {
        view_.Post([this] { RunHeld(); });
    }
}

void ModalGate::RunHeld() {
    for (std::function<void()>& work : held_) {
        if (BoxOpen()) {
            return;
        }
        if (work) {
            const std::function<void()> run = std::exchange(work, nullptr);
            run();
        }
    }
}

} // namespace treadkey
