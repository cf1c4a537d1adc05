#include "cli/slot_verification.h"

#include "cli/event_words.h"
#include "cli/record_words.h"
#include "json/json.h"

#include <array>

namespace treadkey {
namespace {

constexpr std::array<const char*, 5> kOutcomeNames = {"match", "learned", "mismatch", "timeout",
                                                      "unreadable"};

} // namespace

SlotVerification::SlotVerification(std::vector<int> slots, const PedalRecord& record)
    : slots_(std::move(slots)), record_(record) {
    if (slots_.empty()) {
        for (std::size_t i = 0; i < record.slotWords.size(); ++i) {
            if (record.slotWords[i].source != WordSource::Unknown) {
                slots_.push_back(static_cast<int>(i) + 1);
            }
        }
    }
}

std::optional<int> SlotVerification::Current() const {
    return checks_.size() < slots_.size() ? std::optional(slots_[checks_.size()]) : std::nullopt;
}

std::string SlotVerification::Prompt() const {
    const int slot = *Current();
    const RecordedWord& recorded = record_.slotWords[static_cast<std::size_t>(slot - 1)];
    return "press slot " + std::to_string(slot) + " (" +
           (recorded.source == WordSource::Unknown ? std::string("unknown to the record: it is learned")
                                                   : SlotValueText(recorded) + " by the record") +
           ")";
}

std::string SlotVerification::Pressed(const HeldInputs& inputs, const std::string& when) {
    const int slot = *Current();
    const RecordedWord& recorded = record_.slotWords[static_cast<std::size_t>(slot - 1)];
    Check check{slot, Outcome::Match, SlotValueText(recorded), EventName(inputs), WordOfPress(inputs), when};
    const std::optional<HeldInputs> expected = PressOf(recorded.word);
    if (!check.word) {
        check.outcome = Outcome::NotASlotWord;
    } else if (recorded.source == WordSource::Unknown) {
        check.outcome = Outcome::Learned;
    } else if (!expected || !(*expected == inputs)) {
        check.outcome = Outcome::Mismatch;
    }
    checks_.push_back(check);
    const std::string head = "slot " + std::to_string(slot) + ": ";
    switch (check.outcome) {
    case Outcome::Match:
        return head + "match: " + check.came;
    case Outcome::Learned:
        return head + "learned: " + check.came;
    case Outcome::Mismatch:
        return head + "MISMATCH: the record says " + check.expected + ", the pedal sent " + check.came;
    case Outcome::NotASlotWord:
    case Outcome::TimedOut:
        break;
    }
    return head + "the pedal sent " + check.came + ", which no slot holds";
}

std::string SlotVerification::TimedOut() {
    const int slot = *Current();
    checks_.push_back({slot,
                       Outcome::TimedOut,
                       SlotValueText(record_.slotWords[static_cast<std::size_t>(slot - 1)]),
                       "",
                       {},
                       ""});
    return "slot " + std::to_string(slot) + ": not pressed in time";
}

int SlotVerification::ExitCode() const {
    for (const Check& check : checks_) {
        if (check.outcome != Outcome::Match && check.outcome != Outcome::Learned) {
            return 1;
        }
    }
    return checks_.size() == slots_.size() ? 0 : 1;
}

void SlotVerification::Record(PedalRecord& record) const {
    for (const Check& check : checks_) {
        RecordedWord& recorded = record.slotWords[static_cast<std::size_t>(check.slot - 1)];
        if (check.outcome == Outcome::Match || check.outcome == Outcome::Learned) {
            recorded = {WordSource::SeenByPress, *check.word, check.when, "", ""};
        }
    }
}

std::string SlotVerification::Json() const {
    std::string text = "{\"slots\": [";
    for (const Check& check : checks_) {
        text += std::string(text.back() == '[' ? "" : ", ") + "{\"slot\": " + std::to_string(check.slot) +
                ", \"outcome\": \"" + kOutcomeNames[static_cast<std::size_t>(check.outcome)] +
                "\", \"recorded\": " + JsonQuoted(check.expected) +
                ", \"sent\": " + (check.came.empty() ? std::string("null") : JsonQuoted(check.came)) + "}";
    }
    return text + "], \"all_match\": " + (ExitCode() == 0 ? "true" : "false") + "}";
}

} // namespace treadkey
