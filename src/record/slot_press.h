#pragma once

#include "hid/input_report.h"
#include "record/pedal_record.h"

#include <optional>
#include <vector>

namespace treadkey {

// What pressing a slot holding this word sends: the key with its modifiers, or the mouse button; nothing
// for a cleared word.
std::optional<HeldInputs> PressOf(const MemoryWord& word);
// The word a press of these inputs shows the slot holds; nothing when no slot word sends them.
std::optional<MemoryWord> WordOfPress(const HeldInputs& inputs);
// The slots (1..12) whose recorded word sends exactly these inputs when pressed.
std::vector<int> SlotsSending(const PedalRecord& record, const HeldInputs& inputs);

} // namespace treadkey
