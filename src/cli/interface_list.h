#pragma once

#include "device/hid_backend.h"

#include <ostream>

namespace treadkey {

// `treadkeyctl list`: one line for each present interface with the pedal's ids, saying its path, its output
// report length and whether it opens, and if not why. Returns the exit code: a device error when there is
// none.
int ListPedalInterfaces(HidBackend& backend, std::ostream& out, std::ostream& err);

} // namespace treadkey
