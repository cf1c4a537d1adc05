#include "arguments/shown_text.h"
#include "cli/commands/command.h"

#include <algorithm>

namespace treadkey {
namespace {

class NameCommand final : public Command {
public:
    NameCommand()
        : Command(
              {.name = "name",
               .operands = "ID TEXT",
               .minOperands = 2,
               .maxOperands = 2,
               .summary = "give a pedal a nickname that --pedal takes",
               .details =
                   R"(Gives the pedal ID (its identity or its present nickname; it must be plugged in) the nickname TEXT,
which --pedal then takes as well as the identity; an empty TEXT ('') takes the nickname away. The
names are kept in treadkey/pedal-names.json in the user's state directory ($XDG_STATE_HOME or
~/.local/state; %LOCALAPPDATA% on Windows).
)",
               .need = PedalNeed::AnyOrAll,
               .use = PedalUse::Opens}) {}

    // The pedal is this command's operand, not --pedal's.
    const std::string& AskedPedal(const BackendOptions&) const override { return Given().operands[0]; }

    int Run(const CommandRun& run) override {
        CliServices& services = run.services;
        const std::string& nickname = Given().operands[1]; // empty to take the name away
        if (run.pedal.empty()) {
            return Fail(services, "name needs a pedal's identity", kExitUsageError);
        }
        // A line break or an escape sequence in a name would break every line that shows it.
        if (std::any_of(nickname.begin(), nickname.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; })) {
            return Fail(services,
                        "a nickname cannot hold control characters, as " + Quoted(nickname) + " does",
                        kExitUsageError);
        }
        for (const auto& [pedal, name] : run.names) {
            if (name == nickname && pedal != run.pedal) {
                return Fail(services, Quoted(nickname) + " already names " + ShownText(pedal),
                            kExitUsageError);
            }
        }
        if (std::find(run.present.begin(), run.present.end(), nickname) != run.present.end()) {
            return Fail(services, Quoted(nickname) + " is a pedal's identity, so it cannot be a nickname",
                        kExitUsageError);
        }
        if (!services.pedalNamesFile) {
            return Fail(services, "no place to keep names: set XDG_STATE_HOME or HOME", kExitDeviceError);
        }
        if (const std::string error = SavePedalName(*services.pedalNamesFile, run.pedal, nickname);
            !error.empty()) {
            return Fail(services, error, kExitDeviceError);
        }
        services.out << ShownText(run.pedal)
                     << (nickname.empty() ? std::string(" has no nickname now")
                                          : " is now called " + Quoted(nickname))
                     << '\n';
        return kExitDone;
    }
};

} // namespace

extern const CommandMaker MakeNameCommand = MakeCommandOf<NameCommand>;

} // namespace treadkey
