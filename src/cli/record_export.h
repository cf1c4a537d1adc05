#pragma once

#include "record/pedal_record.h"

#include <optional>
#include <string>
#include <vector>

namespace treadkey {

struct ExportedProfile {
    std::optional<std::string> text;   // a profile 'apply' reads; nothing when the record knows nothing
    std::vector<std::string> warnings; // one line each: what was left out and why
};

// 'treadkeyctl export': what the record knows as a profile. Unknown slots and settings are left out, as
// are words no profile value writes as they stand; what is left out stays as it is on the pedal the profile
// is applied to.
ExportedProfile ProfileOfRecord(const PedalRecord& record);

} // namespace treadkey
