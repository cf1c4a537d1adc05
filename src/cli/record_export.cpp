#include "cli/record_export.h"

#include "cli/event_words.h"
#include "cli/key_combo.h"
#include "cli/record_show.h"
#include "cli/record_words.h"
#include "editor/mouse_buttons.h"
#include "protocol/frames.h"
#include "json/json.h"

namespace treadkey {
namespace {

// The profile's value for a slot, or nothing when no profile can say it.
std::optional<std::string> SlotJson(const RecordedWord& recorded) {
    const std::optional<HeldInputs> press = PressOf(recorded.word);
    if (!press) {
        return "null";
    }
    if (recorded.word.writer == WordWriter::MouseCommand) {
        for (const MouseButton& button : kMouseButtons) {
            if (button.code == static_cast<int>(press->buttons)) {
                return "{\"mouse\": \"" + std::string(button.name) + "\"}";
            }
        }
        return std::nullopt;
    }
    const std::string combo = EventName(*press);
    // Only a combination the profile reads back to this very word is exported.
    const ParsedKeyCombo parsed = ParseKeyCombo(combo);
    if (!parsed.combo || KeyCode(*parsed.combo) != recorded.word.data[1] ||
        parsed.combo->modifiers != recorded.word.data[0]) {
        return std::nullopt;
    }
    return "{\"key\": " + JsonQuoted(combo) + "}";
}

} // namespace

ExportedProfile ProfileOfRecord(const PedalRecord& record) {
    ExportedProfile exported;
    std::vector<std::string> members;
    std::string slots;
    std::string unknown;
    for (std::size_t i = 0; i < record.slotWords.size(); ++i) {
        const RecordedWord& slot = record.slotWords[i];
        const std::string name = "slot " + std::to_string(i + 1);
        if (slot.source == WordSource::Unknown) {
            unknown += (unknown.empty() ? "" : ", ") + std::to_string(i + 1);
            continue;
        }
        const std::optional<std::string> value = SlotJson(slot);
        if (!value) {
            exported.warnings.push_back(name + " holds " + SlotValueText(slot) +
                                        ", which a profile cannot name: left out");
            continue;
        }
        slots +=
            (slots.empty() ? "\n" : ",\n") + std::string("    \"") + std::to_string(i + 1) + "\": " + *value;
    }
    if (!unknown.empty()) {
        exported.warnings.insert(exported.warnings.begin(),
                                 (unknown.find(',') == std::string::npos ? "slot " + unknown + " is"
                                                                         : "slots " + unknown + " are") +
                                     " unknown to the record: left out");
    }
    if (!slots.empty()) {
        members.push_back("\"slots\": {" + slots + "\n  }");
    }
    const std::optional<PlaybackWord> playback = RecordedPlayback(record.playback);
    if (playback && PlaybackWordFrame(*playback)) {
        members.push_back("\"delay\": " + std::to_string(playback->delay));
        members.push_back(std::string("\"playback\": ") + (playback->loop ? "\"loop\"" : "\"single\""));
        members.push_back(std::string("\"auto_run\": ") + (playback->autoRun ? "true" : "false"));
    } else {
        exported.warnings.push_back("the key delay, playback and auto-run are " +
                                    std::string(playback ? "a combination no frame stores" : "not known") +
                                    ": left out");
    }
    if (const std::optional<bool> single = RecordedSingleOutput(record.singleOutput)) {
        members.push_back(std::string("\"single_output\": ") + (*single ? "true" : "false"));
    } else {
        exported.warnings.push_back("single output is not known: left out");
    }
    if (members.empty()) {
        return exported;
    }
    std::string text = "{";
    for (const std::string& member : members) {
        text += (text.size() == 1 ? "\n  " : ",\n  ") + member;
    }
    exported.text = text + "\n}\n";
    return exported;
}

} // namespace treadkey
