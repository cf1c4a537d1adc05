#pragma once

#include "hid/input_report.h"
#include "record/pedal_record.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace treadkey {

// 'treadkeyctl verify': one slot after the other, what the pedal sends when pressed against what the record
// says the slot holds.
class SlotVerification {
public:
    // `slots` 1..12; empty for every slot the record knows.
    SlotVerification(std::vector<int> slots, const PedalRecord& record);

    // The slot to press now; nothing when every slot has had its turn.
    std::optional<int> Current() const;
    // "press slot 3 (ctrl+shift+a by the record)".
    std::string Prompt() const;
    // What the press of the current slot sent; returns the line that says how it compares, and moves on.
    std::string Pressed(const HeldInputs& inputs, const std::string& when);
    // The current slot was not pressed in time; returns the line that says so, and moves on.
    std::string TimedOut();

    // 0 when every slot matched or was learned, 1 on a mismatch or a timeout.
    int ExitCode() const;
    // Marks matched slots as seen by a press and learned slots with what came; mismatches stay as written.
    void Record(PedalRecord& record) const;
    // One JSON document of every slot's outcome.
    std::string Json() const;

private:
    enum class Outcome { Match, Learned, Mismatch, TimedOut, NotASlotWord };
    struct Check {
        int slot;
        Outcome outcome;
        std::string expected; // as the record says
        std::string came;     // as the pedal sent it
        std::optional<MemoryWord> word;
        std::string when;
    };

    std::vector<int> slots_;
    PedalRecord record_;
    std::vector<Check> checks_;
};

} // namespace treadkey
