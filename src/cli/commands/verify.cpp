#include "cli/commands/command.h"
#include "cli/commands/watch_timeout.h"
#include "cli/exit_codes.h"
#include "cli/help_text.h"
#include "cli/pedal_watch_loop.h"
#include "cli/record_keeping.h"
#include "cli/slot_verification.h"

#include <memory>

namespace treadkey {
namespace {

// Asks for each slot's press in turn and says how what came compares with the record.
class SlotChecker final : public PressHandler {
public:
    SlotChecker(SlotVerification& verification, bool json, std::optional<std::chrono::milliseconds> timeout,
                CliServices& services)
        : verification_(verification), json_(json), timeout_(timeout), services_(services) {}

    void Prompt() override {
        if (verification_.Current()) {
            services_.err << kProgramName << ": " << verification_.Prompt() << WaitWords(timeout_, "it")
                          << std::endl;
        }
    }

    // Each slot has the whole timeout to be pressed in.
    bool Take(const WatchedEvent& watched) override {
        if (watched.event.kind != PedalEvent::Kind::Press) {
            return false;
        }
        lines() << verification_.Pressed(watched.event.inputs, services_.utcNow()) << std::endl;
        return true;
    }

    bool Done() const override { return !verification_.Current(); }

    std::optional<int> TimeUp() override {
        lines() << verification_.TimedOut() << std::endl;
        return std::nullopt;
    }

private:
    // With --json, standard output holds the one document that sums the verification up.
    std::ostream& lines() { return json_ ? services_.err : services_.out; }

    SlotVerification& verification_;
    bool json_;
    std::optional<std::chrono::milliseconds> timeout_;
    CliServices& services_;
};

class VerifyCommand final : public Command {
public:
    VerifyCommand()
        : Command({.name = "verify",
                   .operands = "[SLOT...]",
                   .maxOperands = kAnyNumber,
                   .options = {{"--json", "", "print the outcome as one JSON document"},
                               {"--timeout", "S",
                                "give each slot S seconds to be pressed, 1 to 86400 (default: wait\nuntil "
                                "pressed); exit code 1 when "
                                "one is not"}},
                   .summary = "press each slot: does the pedal send what the record says it holds?",
                   .details = "Asks for a press of each SLOT in turn (default: every slot the record knows), "
                              "decodes what the\n"
                              "pedal sends and compares it with the record: a match is recorded as seen by a "
                              "press, a mismatch\n"
                              "prints what was written and what came, and a slot the record does not know is "
                              "learned from the\n"
                              "press, so a lost record can be rebuilt by pressing. Meanwhile the pedal's "
                              "keystrokes are held from\n"
                              "the desktop, so a slot holding Ctrl+C or Alt+F4 does no harm. Exit code 0 "
                              "when every slot matched or\n"
                              "was learned, 1 on a mismatch or a timeout. This is the check that a write "
                              "really took. Without\n"
                              "--timeout it waits for each press until it comes.\n",
                   .need = PedalNeed::OnePresent,
                   .use = PedalUse::Watches}) {}

    void Read(const CommandArguments& arguments) override {
        json_ = arguments.Has("--json");
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
        SlotVerification verification(slots_, *record);
        if (!verification.Current()) {
            return Fail(services,
                        "the record knows no slot of " + run.pedal +
                            ": name the slots to learn, as in 'treadkeyctl verify 1 2 3'",
                        kExitUsageError);
        }
        SlotChecker checker(verification, json_, timeout_, services);
        WatchPedal(*run.hid, {.timeout = timeout_, .pedal = run.pedal, .holdKeys = true}, checker, services);
        ChangeRecord(
            run.pedal, [&verification](PedalRecord& changed) { verification.Record(changed); }, services);
        if (json_) {
            services.out << verification.Json() << '\n';
        }
        return verification.ExitCode();
    }

private:
    bool json_ = false;
    std::optional<std::chrono::milliseconds> timeout_; // each slot's
    std::vector<int> slots_;                           // empty for every slot the record knows
};

} // namespace

std::unique_ptr<Command> MakeVerifyCommand() {
    return std::make_unique<VerifyCommand>();
}

} // namespace treadkey
