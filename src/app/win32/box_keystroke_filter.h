#pragma once

#include <windows.h>

#include <functional>

namespace treadkey {

// While it lives, the keystrokes that come while `pedalIsTyping` says the pedal types are dropped in a
// message box of this thread too: a box runs its own loop, past the window's, but the dialog manager offers
// each message to the thread's message filter before it acts on it, so that an Enter the pedal types cannot
// answer the box.
class BoxKeystrokeFilter {
public:
    explicit BoxKeystrokeFilter(std::function<bool()> pedalIsTyping);
    ~BoxKeystrokeFilter();
    BoxKeystrokeFilter(const BoxKeystrokeFilter&) = delete;
    BoxKeystrokeFilter& operator=(const BoxKeystrokeFilter&) = delete;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);

    std::function<bool()> pedalIsTyping_;
    BoxKeystrokeFilter* outer_; // the filter of a box under this one
    HHOOK hook_;
};

} // namespace treadkey
