#pragma once

#include "diagnosis/system_root.h"
#include "stacks/hid_backend.h"

#include <ostream>

namespace treadkey {

// `treadkeyctl list`: one line for each present interface with the pedal's ids (or, with `json`, one JSON
// document), saying its path, its collections, whether it opens and its output report length, and whether
// the pedal's frames go there or why not; a refused permission is put down to the first cause doctor finds on
// `system`. Returns the exit code: a device error when there is none.
int ListPedalInterfaces(HidBackend& backend, const SystemRoot& system, bool json, std::ostream& out,
                        std::ostream& err);

} // namespace treadkey
