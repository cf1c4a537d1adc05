#pragma once

#include "hid/input_report.h"

#include <string>

namespace treadkey {

// A press in the names a key combination takes: modifiers in the toggles' order, then keys ("ctrl+shift+a");
// keys without an on-screen key by their usage-table name ("f13") or hex ("0007:00A5"), other pages in hex,
// buttons as "mouse left", "mouse right", "mouse middle" or "mouse button4".
std::string PressName(const HeldInputs& inputs);

} // namespace treadkey
