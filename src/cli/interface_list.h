#pragma once

#include "cli/pedal_names.h"
#include "diagnosis/system_root.h"
#include "stacks/hid_backend.h"

#include <ostream>

namespace treadkey {

// `treadkeyctl list`: for each pedal present (or only `pedal`, when not empty), a line with its identity and
// nickname, then one line for each of its interfaces (or, with `json`, one JSON document), saying its path,
// its collections, whether it opens and its output report length, and whether the pedal's frames go there or
// why not; a refused permission is put down to the first cause doctor finds on `system`. Returns the exit
// code: a device error when there is none.
int ListPedalInterfaces(HidBackend& backend, const SystemRoot& system, bool json, const std::string& pedal,
                        const PedalNames& names, std::ostream& out, std::ostream& err);

} // namespace treadkey
