#pragma once

#include "device/input_report.h"

#include <string>

namespace treadkey {

// The keys of a press or release as the key log line writes a key: the modifiers in the log's order and
// words, then the caption of each key and of each other usage, joined by " + " ("Ctrl + Shift + A"). Mouse
// buttons are left to the caller, which words them in its language.
std::string PressedKeysText(const HeldInputs& inputs);

} // namespace treadkey
