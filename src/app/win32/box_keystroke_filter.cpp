#include "app/win32/box_keystroke_filter.h"

#include "app/win32/keystroke_messages.h"

#include <utility>

namespace treadkey {
namespace {

// The hook's procedure gets no pointer of its own: the innermost filter of the thread answers.
thread_local BoxKeystrokeFilter* innermost = nullptr;

} // namespace

BoxKeystrokeFilter::BoxKeystrokeFilter(std::function<bool()> pedalIsTyping)
    : pedalIsTyping_(std::move(pedalIsTyping)), outer_(innermost),
      hook_(SetWindowsHookExW(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId())) {
    innermost = this;
}

BoxKeystrokeFilter::~BoxKeystrokeFilter() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    innermost = outer_;
}

LRESULT CALLBACK BoxKeystrokeFilter::Filter(int code, WPARAM wParam, LPARAM lParam) {
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && innermost != nullptr && IsKeystrokeMessage(message.message) &&
        innermost->pedalIsTyping_()) {
        return TRUE; // taken: the box never sees it
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace treadkey
