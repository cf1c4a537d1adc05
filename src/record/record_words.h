#pragma once

#include "record/pedal_record.h"
#include "record/slot_press.h"

#include <string>

namespace treadkey {

// What the record holds, in English words: treadkeyctl's and the window's.

// "ctrl+shift+a", "mouse left", "cleared" or "unknown", in the names COMBO takes.
std::string SlotValueText(const RecordedWord& recorded);
// "key", "mouse", "cleared" or "unknown".
std::string SlotKind(const RecordedWord& recorded);
// "written 2026-03-01T12:00:00Z by treadkeyctl", "seen by a press 2026-...", "unknown (interrupted after
// report 1 of 3, 2026-...)".
std::string SourceText(const RecordedWord& recorded);

} // namespace treadkey
