#pragma once

#include "hid/input_report.h"
#include "record/pedal_record.h"

#include <optional>
#include <string>
#include <vector>

namespace treadkey {

// What pressing a slot holding this word sends: the key with its modifiers, or the mouse button; nothing
// for a cleared word.
std::optional<HeldInputs> PressOf(const MemoryWord& word);
// The word a press of these inputs shows the slot holds; nothing when no slot word sends them.
std::optional<MemoryWord> WordOfPress(const HeldInputs& inputs);
// The slots (1..12) whose recorded word sends exactly these inputs when pressed.
std::vector<int> SlotsSending(const PedalRecord& record, const HeldInputs& inputs);

// How a slot's press compares with what the record says the slot holds.
enum class PressVerdict {
    Match,        // it sent what the record's word sends
    Learned,      // the record did not know the slot: the press tells
    Mismatch,     // it sent something else
    NotASlotWord, // what it sent no slot word sends
};
PressVerdict ComparePress(const RecordedWord& recorded, const HeldInputs& inputs);
// Whether the press shows what the slot holds, which the record then keeps as seen by a press.
bool PressShowsTheSlot(PressVerdict verdict);
// The slot (1..12) holds what its press sent, seen at `when`.
void RecordSeenByPress(PedalRecord& record, int slot, const HeldInputs& inputs, const std::string& when);

} // namespace treadkey
