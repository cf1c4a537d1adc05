#include "cli/commands/command.h"
#include "cli/pedal_watch_loop.h"
#include "editor/press_text.h"
#include "editor/usage_names.h"
#include "protocol/number_text.h"
#include "protocol/report_hex.h"
#include "record/utc_time.h"
#include "json/json.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace treadkey {
namespace {

constexpr std::size_t kKindWidth = 8; // "release" and a space
constexpr std::string_view kCaptionGap = "   ";

bool HasKeys(const HeldInputs& inputs) {
    return inputs.modifiers != 0 || !inputs.keys.empty() || !inputs.other.empty();
}

// "press   ctrl+shift+a   < Ctrl + Shift + A >", "release mouse right": the keys' captions as the key log
// line writes them; a line of mouse buttons alone has none.
std::string EventLine(const PedalEvent& event) {
    std::string line(event.kind == PedalEvent::Kind::Press ? "press" : "release");
    line.resize(kKindWidth, ' ');
    line += PressName(event.inputs);
    if (HasKeys(event.inputs)) {
        line += std::string(kCaptionGap) + "< " + PressedKeysText(event.inputs) + " >";
    }
    return line;
}

// One JSON object, no line break: time, interface, the raw report in hex and the event decoded.
std::string EventJson(const PedalEvent& event, std::string_view time, std::string_view interfacePath,
                      std::span<const std::uint8_t> report) {
    const HeldInputs& inputs = event.inputs;
    std::string keys;
    for (const std::uint16_t key : inputs.keys) {
        keys += (keys.empty() ? "" : ", ") + std::to_string(key);
    }
    std::string other;
    for (const HidUsage usage : inputs.other) {
        other += (other.empty() ? "" : ", ") + JsonQuoted(UsageHex(usage));
    }
    return "{\"time\": " + JsonQuoted(time) + ", \"interface\": " + JsonQuoted(interfacePath) +
           ", \"report\": " + JsonQuoted(ReportHexLine(report)) + ", \"event\": \"" +
           (event.kind == PedalEvent::Kind::Press ? "press" : "release") +
           "\", \"name\": " + JsonQuoted(PressName(inputs)) +
           ", \"caption\": " + (HasKeys(inputs) ? JsonQuoted(PressedKeysText(inputs)) : std::string("null")) +
           ", \"modifiers\": " + std::to_string(inputs.modifiers) + ", \"keys\": [" + keys +
           "], \"buttons\": " + std::to_string(inputs.buttons) + ", \"other\": [" + other + "]}";
}

// Prints each press and release, until the count is reached.
class EventPrinter final : public PressHandler {
public:
    EventPrinter(bool json, std::optional<int> count, std::optional<std::chrono::milliseconds> timeout,
                 CliServices& services)
        : json_(json), count_(count), timeout_(timeout), services_(services) {}

    bool Take(const WatchedEvent& watched) override {
        const std::string line =
            json_ ? EventJson(watched.event, UtcText(watched.when, UtcPrecision::Milliseconds), watched.path,
                              watched.report)
                  : EventLine(watched.event);
        services_.out << line << std::endl; // at once: a script reads it as it comes
        ++events_;
        return false;
    }

    bool Done() const override { return count_ && events_ >= *count_; }

    std::optional<int> TimeUp() override {
        return events_ > 0 ? kExitDone : NothingPressedWithin(*timeout_, services_);
    }

private:
    bool json_;
    std::optional<int> count_;
    std::optional<std::chrono::milliseconds> timeout_;
    CliServices& services_;
    int events_ = 0;
};

class MonitorCommand final : public Command {
public:
    MonitorCommand()
        : Command(
              {.name = "monitor",
               .options = {{"--json", "",
                            "print one JSON object a line: time, interface, raw report, the event decoded"},
                           {"--count", "N", "stop after N presses and releases, 1 to 1000000000"},
                           {"--timeout", "S",
                            "stop after S seconds, 1 to 86400; exit code 1 when nothing came"}},
               .summary = "show what the pedal sends when pressed, as it arrives",
               .details =
                   R"(Opens every keyboard and mouse interface of the pedal for reading only (it writes nothing) and prints
one line for each press and each release the pedal sends, as it arrives:

  press   ctrl+shift+a   < Ctrl + Shift + A >
  release ctrl+shift+a   < Ctrl + Shift + A >
  press   mouse right

Keys are named as COMBO names them, then captioned as the window's key log line writes them; keys
without an on-screen key are named by the HID usage tables (f13), other usages by page and usage in
hex. It runs until interrupted (exit code 0 on SIGINT or SIGTERM), or N events, or S seconds. It
follows the pedal through unplug and replug, saying on stderr when it goes and comes; a node it may not
read is explained as 'list' explains it (the udev rule 70-treadkey.rules). With --virtual-pedal, add
--virtual-pedal-composite and --virtual-pedal-press FILE, and append slot numbers to FILE to press them.
)",
               .need = PedalNeed::AnyOrAll,
               .use = PedalUse::Watches}) {}

    void Read(const CommandArguments& arguments) override {
        // Large enough for a day of presses, small enough to stay in an int.
        constexpr int kMostEvents = 1'000'000'000;
        Command::Read(arguments); // --json, read where it runs
        if (const std::string* text = arguments.Value("--count")) {
            count_ = ParseWholeNumber(*text, 1, kMostEvents);
            if (!count_) {
                throw UsageError{"--count must be a whole number of events from 1 on, not " + Quoted(*text)};
            }
        }
        timeout_ = ReadWatchTimeout(arguments);
    }

    int Run(const CommandRun& run) override {
        EventPrinter printer(Given().Has("--json"), count_, timeout_, run.services);
        return WatchPedal(*run.hid, {.timeout = timeout_, .pedal = run.pedal}, printer, run.services);
    }

private:
    std::optional<int> count_;                         // stop after this many events
    std::optional<std::chrono::milliseconds> timeout_; // stop after this long
};

} // namespace

extern const CommandMaker MakeMonitorCommand = MakeCommandOf<MonitorCommand>;

} // namespace treadkey
