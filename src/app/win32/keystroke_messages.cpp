#include "app/win32/keystroke_messages.h"

namespace treadkey {

bool IsKeystrokeMessage(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
    case WM_UNICHAR:
    // What an input method posts for the keys it took.
    case WM_IME_KEYDOWN:
    case WM_IME_KEYUP:
    case WM_IME_CHAR:
        return true;
    default:
        return false;
    }
}

} // namespace treadkey
