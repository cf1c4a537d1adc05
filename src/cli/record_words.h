#pragma once

#include "hid/input_report.h"
#include "record/pedal_record.h"

#include <optional>
#include <string>

namespace treadkey {

// How treadkeyctl names what the record holds.

// What pressing a slot holding this word sends: the key with its modifiers, or the mouse button; nothing
// for a cleared word.
std::optional<HeldInputs> PressOf(const MemoryWord& word);
// The word a press of these inputs shows the slot holds; nothing when no slot word sends them.
std::optional<MemoryWord> WordOfPress(const HeldInputs& inputs);

// "ctrl+shift+a", "mouse left", "cleared" or "unknown", in the names COMBO takes.
std::string SlotValueText(const RecordedWord& recorded);
// "key", "mouse", "cleared" or "unknown".
std::string SlotKind(const RecordedWord& recorded);
// "written 2026-03-01T12:00:00Z by treadkeyctl", "seen by a press 2026-...", "unknown (interrupted after
// report 1 of 3, 2026-...)".
std::string SourceText(const RecordedWord& recorded);

} // namespace treadkey
