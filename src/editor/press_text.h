#pragma once

#include "hid/input_report.h"

#include <cstdint>
#include <string>

namespace treadkey {

// The modifiers that are on, as the key log line writes them, in its order (Alt before Shift on each side):
// "Ctrl + Alt + Shift + ".
std::string ModifierLogText(std::uint8_t modifierByte);

// The keys of a press or release as the key log line writes a key: the modifiers in the log's order and
// words, then the caption of each key and of each other usage, joined by " + " ("Ctrl + Shift + A"). Mouse
// buttons are left to the caller, which words them in its language.
std::string PressedKeysText(const HeldInputs& inputs);

// A press in the names a key combination takes: modifiers in the toggles' order, then keys ("ctrl+shift+a");
// keys without an on-screen key by their usage-table name ("f13") or hex ("0007:00A5"), other pages in hex,
// buttons as "mouse left", "mouse right", "mouse middle" or "mouse button4".
std::string PressName(const HeldInputs& inputs);

} // namespace treadkey
