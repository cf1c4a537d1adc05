#include "cli/commands/command.h"
#include "cli/help_text.h"
#include "cli/pedal_watch_loop.h"
#include "cli/record_keeping.h"
#include "editor/press_text.h"
#include "hid/input_report.h"
#include "record/pedal_record.h"
#include "record/record_words.h"
#include "record/slot_press.h"
#include "record/utc_time.h"
#include "json/json.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace treadkey {
namespace {

constexpr std::array<const char*, 4> kVerdictNames = {"match", "learned", "mismatch", "unreadable"};

// 'treadkeyctl verify': asks for one slot's press after the other and says how what the pedal sends compares
// with what the record says the slot holds.
class SlotVerification final : public PressHandler {
public:
    // `slots` 1..12; empty for every slot the record knows.
    SlotVerification(std::vector<int> slots, const PedalRecord& record, bool json,
                     std::optional<std::chrono::milliseconds> timeout, CliServices& services)
        : slots_(std::move(slots)), record_(record), json_(json), timeout_(timeout), services_(services) {
        if (slots_.empty()) {
            for (std::size_t i = 0; i < record.slotWords.size(); ++i) {
                if (record.slotWords[i].source != WordSource::Unknown) {
                    slots_.push_back(static_cast<int>(i) + 1);
                }
            }
        }
    }

    // The slot to press now; nothing when every slot has had its turn.
    std::optional<int> Current() const {
        return checks_.size() < slots_.size() ? std::optional(slots_[checks_.size()]) : std::nullopt;
    }

    // "press slot 3 (ctrl+shift+a by the record)".
    void Prompt() override {
        if (!Current()) {
            return;
        }
        services_.err << kProgramName << ": press slot " << *Current() << " ("
                      << (recorded().source == WordSource::Unknown
                              ? std::string("unknown to the record: it is learned")
                              : SlotValueText(recorded()) + " by the record")
                      << ")" << WaitWords(timeout_, "it") << std::endl;
    }

    // Each slot has the whole timeout to be pressed in.
    bool Take(const WatchedEvent& watched) override {
        if (watched.event.kind != PedalEvent::Kind::Press) {
            return false;
        }
        lines() << Pressed(watched.event.inputs, UtcText(watched.when, UtcPrecision::Seconds)) << std::endl;
        return true;
    }

    bool Done() const override { return !Current(); }

    // The current slot was not pressed in time: says so, and moves on.
    std::optional<int> TimeUp() override {
        const int slot = *Current();
        checks_.push_back({slot, std::nullopt, SlotValueText(recorded()), "", {}, ""});
        lines() << "slot " << slot << ": not pressed in time" << std::endl;
        return std::nullopt;
    }

    // 0 when every slot matched or was learned, 1 on a mismatch or a timeout.
    int ExitCode() const {
        for (const Check& check : checks_) {
            if (!check.verdict || !PressShowsTheSlot(*check.verdict)) {
                return 1;
            }
        }
        return checks_.size() == slots_.size() ? 0 : 1;
    }

    // Marks matched slots as seen by a press and learned slots with what came; mismatches stay as written.
    void Record(PedalRecord& record) const {
        for (const Check& check : checks_) {
            if (check.verdict && PressShowsTheSlot(*check.verdict)) {
                RecordSeenByPress(record, check.slot, check.inputs, check.when);
            }
        }
    }

    // One JSON document of every slot's outcome.
    std::string Json() const {
        std::string text = "{\"slots\": [";
        for (const Check& check : checks_) {
            text += std::string(text.back() == '[' ? "" : ", ") + "{\"slot\": " + std::to_string(check.slot) +
                    ", \"outcome\": \"" +
                    (check.verdict ? kVerdictNames[static_cast<std::size_t>(*check.verdict)] : "timeout") +
                    "\", \"recorded\": " + JsonQuoted(check.expected) +
                    ", \"sent\": " + (check.came.empty() ? std::string("null") : JsonQuoted(check.came)) +
                    "}";
        }
        return text + "], \"all_match\": " + (ExitCode() == 0 ? "true" : "false") + "}";
    }

private:
    // What the press of the current slot sent; returns the line that says how it compares, and moves on.
    std::string Pressed(const HeldInputs& inputs, const std::string& when) {
        const int slot = *Current();
        const PressVerdict verdict = ComparePress(recorded(), inputs);
        checks_.push_back({slot, verdict, SlotValueText(recorded()), PressName(inputs), inputs, when});
        const std::string head = "slot " + std::to_string(slot) + ": ";
        switch (verdict) {
        case PressVerdict::Match:
            return head + "match: " + checks_.back().came;
        case PressVerdict::Learned:
            return head + "learned: " + checks_.back().came;
        case PressVerdict::Mismatch:
            return head + "MISMATCH: the record says " + checks_.back().expected + ", the pedal sent " +
                   checks_.back().came;
        case PressVerdict::NotASlotWord:
            break;
        }
        return head + "the pedal sent " + checks_.back().came + ", which no slot holds";
    }

    struct Check {
        int slot;
        std::optional<PressVerdict> verdict; // nothing when the slot was not pressed in time
        std::string expected;                // as the record says
        std::string came;                    // as the pedal sent it
        HeldInputs inputs;
        std::string when;
    };

    // What the record says of the slot to press now.
    const RecordedWord& recorded() const {
        return record_.slotWords[static_cast<std::size_t>(*Current() - 1)];
    }

    // With --json, standard output holds the one document that sums the verification up.
    std::ostream& lines() { return json_ ? services_.err : services_.out; }

    std::vector<int> slots_;
    PedalRecord record_;
    bool json_;
    std::optional<std::chrono::milliseconds> timeout_;
    CliServices& services_;
    std::vector<Check> checks_;
};

class VerifyCommand final : public Command {
public:
    VerifyCommand()
        : Command(
              {.name = "verify",
               .operands = "[SLOT...]",
               .maxOperands = kAnyNumber,
               .options = {{"--json", "", "print the outcome as one JSON document"},
                           {"--timeout", "S",
                            "give each slot S seconds to be pressed, 1 to 86400 (default: wait\nuntil "
                            "pressed); exit code 1 when one is not"}},
               .summary = "press each slot: does the pedal send what the record says it holds?",
               .details =
                   R"(Asks for a press of each SLOT in turn (default: every slot the record knows), decodes what the
pedal sends and compares it with the record: a match is recorded as seen by a press, a mismatch
prints what was written and what came, and a slot the record does not know is learned from the
press, so a lost record can be rebuilt by pressing. Meanwhile the pedal's keystrokes are held from
the desktop, so a slot holding Ctrl+C or Alt+F4 does no harm. Exit code 0 when every slot matched or
was learned, 1 on a mismatch or a timeout. This is the check that a write really took. Without
--timeout it waits for each press until it comes.
)",
               .need = PedalNeed::OnePresent,
               .use = PedalUse::Watches}) {}

    void Read(const CommandArguments& arguments) override {
        Command::Read(arguments); // --json, read where it runs
        timeout_ = ReadWatchTimeout(arguments);
        for (const std::string& slot : arguments.operands) {
            slots_.push_back(ReadSlot(slot));
        }
    }

    int Run(const CommandRun& run) override {
        CliServices& services = run.services;
        const std::optional<PedalRecord> record = ReadRecord(run.pedal, services);
        if (!record) {
            return kExitDeviceError;
        }
        SlotVerification verification(slots_, *record, Given().Has("--json"), timeout_, services);
        if (!verification.Current()) {
            return Fail(services,
                        "the record knows no slot of " + run.pedal +
                            ": name the slots to learn, as in 'treadkeyctl verify 1 2 3'",
                        kExitUsageError);
        }
        WatchPedal(*run.hid, {.timeout = timeout_, .pedal = run.pedal, .holdKeys = true}, verification,
                   services);
        ChangeRecord(
            run.pedal, [&verification](PedalRecord& changed) { verification.Record(changed); }, services);
        if (Given().Has("--json")) {
            services.out << verification.Json() << '\n';
        }
        return verification.ExitCode();
    }

private:
    std::optional<std::chrono::milliseconds> timeout_; // each slot's
    std::vector<int> slots_;                           // empty for every slot the record knows
};

} // namespace

extern const CommandMaker MakeVerifyCommand = MakeCommandOf<VerifyCommand>;

} // namespace treadkey
