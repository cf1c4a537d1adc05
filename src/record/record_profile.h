#pragma once

#include "record/pedal_record.h"

#include <optional>
#include <string>
#include <vector>

namespace treadkey {

// The playback word a recorded settings word holds; nothing when it is unknown or not a playback word (as
// after clearing every word).
std::optional<PlaybackWord> RecordedPlayback(const RecordedWord& recorded);
// Whether single output is on by a recorded 0x78 word; nothing when it is unknown or cleared.
std::optional<bool> RecordedSingleOutput(const RecordedWord& recorded);

struct ExportedProfile {
    std::optional<std::string> text;   // a profile 'apply' reads; nothing when the record knows nothing
    std::vector<std::string> warnings; // one line each: what was left out and why
};

// What the record knows as a profile ('treadkeyctl export'). Unknown slots and settings are left out, as
// are words no profile value writes as they stand; what is left out stays as it is on the pedal the profile
// is applied to.
ExportedProfile ProfileOfRecord(const PedalRecord& record);

} // namespace treadkey
