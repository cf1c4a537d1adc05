#pragma once

#include <windows.h>

namespace treadkey {

// Whether a queued message comes of a keystroke: a key going down or up, with or without Alt, or a character
// a key typed, the input method's included. The window drops these while the pedal types, before the dialog
// manager moves the focus or presses a button by them and before they are translated into characters.
bool IsKeystrokeMessage(UINT message);

} // namespace treadkey
