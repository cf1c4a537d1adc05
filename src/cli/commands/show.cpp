#include "cli/commands/command.h"
#include "cli/exit_codes.h"
#include "cli/pedal_choice.h"
#include "cli/record_keeping.h"
#include "cli/record_show.h"

#include <memory>

namespace treadkey {
namespace {

class ShowCommand final : public Command {
public:
    ShowCommand()
        : Command({.name = "show",
                   .options = {{"--json", "", "print the same as one JSON document, for scripts", true}},
                   .summary = "what the pedal holds, by the record of what was written to it",
                   .details =
                       "Shows the twelve slots and the settings of the pedal (--pedal, or the one plugged "
                       "in) as its record\n"
                       "says, each with where its value came from: written (when, and by treadkeyctl or the "
                       "window), seen by\n"
                       "a press (when), or unknown. Every write whose reports all went through updates the "
                       "record; one that\n"
                       "failed part way leaves what it touched unknown (\"interrupted after report 2 of "
                       "3\"). The pedal never\n"
                       "answers, so the record knows only what this computer wrote or saw. It is kept in\n"
                       "treadkey/records/ in the user's state directory ($XDG_STATE_HOME or ~/.local/state; "
                       "%LOCALAPPDATA% on\n"
                       "Windows), one file a pedal; a file that cannot be read is set aside with a warning. "
                       "--pedal takes a\n"
                       "pedal plugged in or one with a record; any other ID is a usage error that lists "
                       "those known.\n",
                   .need = PedalNeed::Recorded}) {}

    void Read(const CommandArguments& arguments) override { json_ = arguments.Has("--json"); }

    int Run(const CommandRun& run) override {
        const std::optional<PedalRecord> record = ReadRecord(run.pedal, run.services);
        if (!record) {
            return kExitDeviceError;
        }
        if (json_) {
            ShowRecordJson(*record, run.pedal, run.services.out);
        } else {
            ShowRecord(*record, PedalWithName(run.pedal, run.names), run.services.out);
        }
        return kExitDone;
    }

private:
    bool json_ = false;
};

} // namespace

std::unique_ptr<Command> MakeShowCommand() {
    return std::make_unique<ShowCommand>();
}

} // namespace treadkey
