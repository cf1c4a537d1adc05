#pragma once

#include "stacks/virtual/virtual_pedal.h"

#include <string>

namespace treadkey {

// Whether the virtual pedal can use the files it was given: the log must take lines (and be readable when
// presses are played from it), the press file must be readable or, not there yet, be creatable in a folder
// that exists. Returns one line naming the option, the file and the reason, or "" when all are usable. Run
// before anything opens, so that a bad path is not mistaken for a failed write to the pedal.
std::string CheckVirtualPedalFiles(const VirtualPedalOptions& options);

} // namespace treadkey
