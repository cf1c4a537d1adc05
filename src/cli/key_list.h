#pragma once

#include <ostream>

namespace treadkey {

// `treadkeyctl keys`: a line for each key name with its key code and the caption of its on-screen key in
// quotes (the space bar's caption is a space), then a line for each modifier; a name's aliases follow it,
// after "also".
void PrintKeyNames(std::ostream& out);

} // namespace treadkey
