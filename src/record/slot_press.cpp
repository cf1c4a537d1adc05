#include "record/slot_press.h"

namespace treadkey {

std::optional<HeldInputs> PressOf(const MemoryWord& word) {
    if (IsClearedWord(word)) {
        return std::nullopt;
    }
    HeldInputs inputs;
    if (word.writer == WordWriter::MouseCommand) {
        inputs.buttons = word.data[1];
        return inputs;
    }
    inputs.modifiers = word.data[0];
    if (word.data[1] != 0) {
        inputs.keys.push_back(word.data[1]);
    }
    return inputs;
}

std::optional<MemoryWord> WordOfPress(const HeldInputs& inputs) {
    if (!inputs.other.empty() || inputs.keys.size() > 1 || inputs.empty() ||
        (inputs.buttons != 0 && (inputs.modifiers != 0 || !inputs.keys.empty())) || inputs.buttons > 0xFF ||
        (!inputs.keys.empty() && inputs.keys[0] > 0xFF)) {
        return std::nullopt;
    }
    if (inputs.buttons != 0) {
        return MemoryWord{{kMouseMarker, static_cast<std::uint8_t>(inputs.buttons), 0, 0},
                          WordWriter::MouseCommand};
    }
    const auto key = static_cast<std::uint8_t>(inputs.keys.empty() ? 0 : inputs.keys[0]);
    return MemoryWord{{inputs.modifiers, key, 0, 0}, WordWriter::KeyCommand};
}

std::vector<int> SlotsSending(const PedalRecord& record, const HeldInputs& inputs) {
    std::vector<int> slots;
    for (std::size_t i = 0; i < record.slotWords.size(); ++i) {
        const RecordedWord& recorded = record.slotWords[i];
        if (recorded.source != WordSource::Unknown && PressOf(recorded.word) == inputs) {
            slots.push_back(static_cast<int>(i) + 1);
        }
    }
    return slots;
}

PressVerdict ComparePress(const RecordedWord& recorded, const HeldInputs& inputs) {
    if (!WordOfPress(inputs)) {
        return PressVerdict::NotASlotWord;
    }
    if (recorded.source == WordSource::Unknown) {
        return PressVerdict::Learned;
    }
    return PressOf(recorded.word) == inputs ? PressVerdict::Match : PressVerdict::Mismatch;
}

bool PressShowsTheSlot(PressVerdict verdict) {
    return verdict == PressVerdict::Match || verdict == PressVerdict::Learned;
}

void RecordSeenByPress(PedalRecord& record, int slot, const HeldInputs& inputs, const std::string& when) {
    if (const std::optional<MemoryWord> word = WordOfPress(inputs)) {
        record.slotWords[static_cast<std::size_t>(slot - 1)] = {WordSource::SeenByPress, *word, when, "", ""};
    }
}

} // namespace treadkey
