#pragma once

#include "record/pedal_record.h"

#include <optional>
#include <ostream>
#include <string>

namespace treadkey {

// The playback word a recorded settings word holds; nothing when it is unknown or not a playback word (as
// after clearing every word).
std::optional<PlaybackWord> RecordedPlayback(const RecordedWord& recorded);
// Whether single output is on by a recorded 0x78 word; nothing when it is unknown or cleared.
std::optional<bool> RecordedSingleOutput(const RecordedWord& recorded);

// 'treadkeyctl show': the twelve slots and the settings as recorded, each with where its value came from;
// `pedal` heads it as the user knows the pedal.
void ShowRecord(const PedalRecord& record, const std::string& pedal, std::ostream& out);
// The same as one JSON document.
void ShowRecordJson(const PedalRecord& record, const std::string& pedal, std::ostream& out);

} // namespace treadkey
