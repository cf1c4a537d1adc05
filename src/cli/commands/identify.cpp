#include "cli/commands/command.h"
#include "cli/help_text.h"
#include "cli/pedal_choice.h"
#include "cli/pedal_watch_loop.h"
#include "json/json.h"

namespace treadkey {
namespace {

// The first press names its pedal; releases (of a key held when the run began) do not count.
class PedalTeller final : public PressHandler {
public:
    PedalTeller(bool json, std::optional<std::chrono::milliseconds> timeout, const PedalNames& names,
                CliServices& services)
        : json_(json), timeout_(timeout), names_(names), services_(services) {}

    void Prompt() override {
        services_.err << kProgramName << ": press the pedal you mean" << WaitWords(timeout_, "one")
                      << std::endl;
    }

    bool Take(const WatchedEvent& watched) override {
        if (watched.event.kind != PedalEvent::Kind::Press) {
            return false;
        }
        const auto named = names_.find(watched.pedal);
        if (json_) {
            services_.out << "{\"pedal\": " << JsonQuoted(watched.pedal) << ", \"name\": "
                          << (named != names_.end() ? JsonQuoted(named->second) : std::string("null"))
                          << ", \"interface\": " << JsonQuoted(watched.path) << "}" << std::endl;
        } else {
            services_.out << PedalWithName(watched.pedal, names_) << std::endl;
        }
        told_ = true;
        return false;
    }

    bool Done() const override { return told_; }

    std::optional<int> TimeUp() override { return NothingPressedWithin(*timeout_, services_); }

private:
    bool json_;
    std::optional<std::chrono::milliseconds> timeout_;
    const PedalNames& names_;
    CliServices& services_;
    bool told_ = false;
};

class IdentifyCommand final : public Command {
public:
    IdentifyCommand()
        : Command(
              {.name = "identify",
               .options = {{"--json", "", "print it as one JSON object"},
                           {"--timeout", "S",
                            "give up after S seconds, 1 to 86400 (default: wait until\npressed); exit code 1 "
                            "when no pedal was pressed"}},
               .summary = "press the pedal you mean: prints its identity",
               .details =
                   R"(Waits for the next press on the keyboard or mouse interface of any pedal plugged in (read only, it
writes nothing) and prints the identity of the pedal pressed, with its nickname if it has one: the
way to tell twins apart. Give what it prints to --pedal. Without --timeout it waits until a pedal is
pressed, however long that takes.
)",
               .need = PedalNeed::AnyOrAll,
               .use = PedalUse::Watches}) {}

    void Read(const CommandArguments& arguments) override {
        Command::Read(arguments); // --json, read where it runs
        timeout_ = ReadWatchTimeout(arguments);
    }

    int Run(const CommandRun& run) override {
        PedalTeller teller(Given().Has("--json"), timeout_, run.names, run.services);
        return WatchPedal(*run.hid, {.timeout = timeout_, .pedal = run.pedal}, teller, run.services);
    }

private:
    std::optional<std::chrono::milliseconds> timeout_; // give up after this long
};

} // namespace

extern const CommandMaker MakeIdentifyCommand = MakeCommandOf<IdentifyCommand>;

} // namespace treadkey
