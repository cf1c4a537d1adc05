#include "cli/commands/command.h"
#include "cli/pedal_choice.h"
#include "cli/record_keeping.h"
#include "record/record_profile.h"
#include "record/record_words.h"
#include "json/json.h"

namespace treadkey {
namespace {

std::string SettingsText(const PedalRecord& record) {
    if (const std::optional<PlaybackWord> playback = RecordedPlayback(record.playback)) {
        return "key delay " + std::to_string(playback->delay) + " ms, auto-run " +
               (playback->autoRun ? "on, " : "off, ") + (playback->loop ? "loop" : "single") + " playback";
    }
    return record.playback.source == WordSource::Unknown ? "key delay, auto-run, playback unknown"
                                                         : "key delay, auto-run, playback cleared";
}

std::string SingleOutputText(const RecordedWord& recorded) {
    if (const std::optional<bool> on = RecordedSingleOutput(recorded)) {
        return *on ? "single output on" : "single output off";
    }
    return recorded.source == WordSource::Unknown ? "single output unknown" : "single output cleared";
}

std::string SourceJson(const RecordedWord& recorded) {
    std::string text =
        "\"source\": \"" + std::string(kWordSourceNames[static_cast<std::size_t>(recorded.source)]) + "\"";
    const auto add = [&text](const char* name, const std::string& value) {
        text += std::string(", \"") + name + "\": " + (value.empty() ? "null" : JsonQuoted(value));
    };
    add("when", recorded.when);
    add("program", recorded.program);
    add("note", recorded.note);
    return text;
}

void ShowRecord(const PedalRecord& record, const std::string& pedal, std::ostream& out) {
    out << "pedal " << pedal << ", as this computer wrote or saw it:\n";
    for (std::size_t i = 0; i < record.slotWords.size(); ++i) {
        out << Padded("slot " + std::to_string(i + 1), 9) << Padded(SlotValueText(record.slotWords[i]), 24)
            << SourceText(record.slotWords[i]) << '\n';
    }
    out << Padded(SettingsText(record), 45) << SourceText(record.playback) << '\n'
        << Padded(SingleOutputText(record.singleOutput), 45) << SourceText(record.singleOutput) << '\n';
}

void ShowRecordJson(const PedalRecord& record, const std::string& pedal, std::ostream& out) {
    out << "{\n  \"pedal\": " << JsonQuoted(pedal) << ",\n  \"slots\": [";
    for (std::size_t i = 0; i < record.slotWords.size(); ++i) {
        const RecordedWord& slot = record.slotWords[i];
        out << (i == 0 ? "\n" : ",\n") << "    {\"slot\": " << i + 1 << ", \"kind\": \"" << SlotKind(slot)
            << "\", \"value\": "
            << (slot.source == WordSource::Unknown ? "null" : JsonQuoted(SlotValueText(slot))) << ", "
            << SourceJson(slot) << "}";
    }
    const std::optional<PlaybackWord> playback = RecordedPlayback(record.playback);
    const std::optional<bool> single = RecordedSingleOutput(record.singleOutput);
    out << "\n  ],\n  \"playback\": {";
    if (playback) {
        out << "\"delay\": " << playback->delay
            << ", \"auto_run\": " << (playback->autoRun ? "true" : "false") << ", \"playback\": \""
            << (playback->loop ? "loop" : "single") << "\", ";
    } else {
        out << "\"delay\": null, \"auto_run\": null, \"playback\": null, ";
    }
    out << SourceJson(record.playback)
        << "},\n  \"single_output\": {\"on\": " << (single ? (*single ? "true" : "false") : "null") << ", "
        << SourceJson(record.singleOutput) << "}\n}\n";
}

class ShowCommand final : public Command {
public:
    ShowCommand()
        : Command(
              {.name = "show",
               .options = {{"--json", "", "print the same as one JSON document, for scripts", true}},
               .summary = "what the pedal holds, by the record of what was written to it",
               .details =
                   R"(Shows the twelve slots and the settings of the pedal (--pedal, or the one plugged in) as its record
says, each with where its value came from: written (when, and by treadkeyctl or the window), seen by
a press (when), or unknown. Every write whose reports all went through updates the record; one that
failed part way leaves what it touched unknown ("interrupted after report 2 of 3"). The pedal never
answers, so the record knows only what this computer wrote or saw. It is kept in
treadkey/records/ in the user's state directory ($XDG_STATE_HOME or ~/.local/state; %LOCALAPPDATA% on
Windows), one file a pedal; a file that cannot be read is set aside with a warning. --pedal takes a
pedal plugged in or one with a record; any other ID is a usage error that lists those known.
)",
               .need = PedalNeed::Recorded}) {}

    int Run(const CommandRun& run) override {
        const std::optional<PedalRecord> record = ReadRecord(run.pedal, run.services);
        if (!record) {
            return kExitDeviceError;
        }
        if (Given().Has("--json")) {
            ShowRecordJson(*record, run.pedal, run.services.out);
        } else {
            ShowRecord(*record, PedalWithName(run.pedal, run.names), run.services.out);
        }
        return kExitDone;
    }
};

} // namespace

extern const CommandMaker MakeShowCommand = MakeCommandOf<ShowCommand>;

} // namespace treadkey
