#include "record/record_profile.h"

#include "editor/mouse_buttons.h"
#include "editor/press_text.h"
#include "editor/profile.h"
#include "protocol/output_report.h"
#include "protocol/pedal_memory.h"
#include "protocol/report_hex.h"
#include "record/slot_press.h"
#include "json/json.h"

#include <array>

namespace treadkey {
namespace {

// Whether applying the profile `members` leaves `word` at `address`: a value goes into the profile only when
// the frame apply writes for it stores this very word, so that the pedal it is applied to ends the same.
bool AppliesAs(const std::string& members, int address, const MemoryWord& word) {
    const ParsedProfile parsed = ParseProfile("{" + members + "}");
    if (!parsed.profile) {
        return false;
    }
    PedalMemory memory;
    for (const PacedFrame& frame : ProfileFrames(*parsed.profile)) {
        memory.decode(BuildOutputReport(frame.text, kFrameReportLength));
    }
    return memory.wordAt(address) == word;
}

// The profile's value for a slot as the record names it, or nothing for a button no profile names.
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
    return "{\"key\": " + JsonQuoted(PressName(*press)) + "}";
}

// "slot 7 holds 00 04 12 34, which a profile cannot name: left out".
std::string CannotName(const std::string& what, const MemoryWord& word) {
    return what + " holds " + ReportHexLine(word.data) + ", which a profile cannot name: left out";
}

} // namespace

std::optional<PlaybackWord> RecordedPlayback(const RecordedWord& recorded) {
    if (recorded.source == WordSource::Unknown) {
        return std::nullopt;
    }
    // Read as the pedal memory reads the word its frame writes.
    PedalMemory memory;
    const auto& data = recorded.word.data;
    const std::array<std::uint8_t, 1 + kFrameSize> report = {
        0, kLeadByte, kKeyCommand, kPlaybackAddress, data[0], data[1], data[2], data[3]};
    memory.decode(report);
    return memory.playbackWord();
}

std::optional<bool> RecordedSingleOutput(const RecordedWord& recorded) {
    if (recorded.source == WordSource::Unknown || IsClearedWord(recorded.word)) {
        return std::nullopt;
    }
    return recorded.word.data[2] != 0;
}

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
        const std::string member = "\"" + std::to_string(i + 1) + "\": " + value.value_or("");
        if (!value || !AppliesAs("\"slots\": {" + member + "}", static_cast<int>(i) * kWordSize, slot.word)) {
            exported.warnings.push_back(CannotName(name, slot.word));
            continue;
        }
        slots += (slots.empty() ? "\n    " : ",\n    ") + member;
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
    const std::string playbackMembers =
        playback ? "\"delay\": " + std::to_string(playback->delay) +
                       ",\n  \"playback\": " + (playback->loop ? "\"loop\"" : "\"single\"") +
                       ",\n  \"auto_run\": " + (playback->autoRun ? "true" : "false")
                 : "";
    if (playback && AppliesAs(playbackMembers, kPlaybackAddress, record.playback.word)) {
        members.push_back(playbackMembers);
    } else if (record.playback.source == WordSource::Unknown) {
        exported.warnings.push_back("the key delay, playback and auto-run are not known: left out");
    } else {
        // Cleared, say, or written raw.
        exported.warnings.push_back(
            CannotName("the key delay, playback and auto-run word", record.playback.word));
    }
    const std::optional<bool> single = RecordedSingleOutput(record.singleOutput);
    const std::string singleMember =
        std::string("\"single_output\": ") + (single.value_or(false) ? "true" : "false");
    if (single && AppliesAs(singleMember, kSingleOutputAddress, record.singleOutput.word)) {
        members.push_back(singleMember);
    } else if (record.singleOutput.source == WordSource::Unknown) {
        exported.warnings.push_back("single output is not known: left out");
    } else {
        exported.warnings.push_back(CannotName("the single-output word", record.singleOutput.word));
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
