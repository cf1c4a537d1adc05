#include "cli/record_show.h"

#include "cli/record_words.h"
#include "protocol/pedal_memory.h"
#include "json/json.h"

#include <array>
#include <vector>

namespace treadkey {
namespace {

std::string SettingsText(const PedalRecord& record) {
    std::string text;
    if (const std::optional<PlaybackWord> playback = RecordedPlayback(record.playback)) {
        text = "key delay " + std::to_string(playback->delay) + " ms, auto-run " +
               (playback->autoRun ? "on, " : "off, ") + (playback->loop ? "loop" : "single") + " playback";
    } else {
        text = record.playback.source == WordSource::Unknown ? "key delay, auto-run, playback unknown"
                                                             : "key delay, auto-run, playback cleared";
    }
    return text;
}

std::string SingleOutputText(const RecordedWord& recorded) {
    if (const std::optional<bool> on = RecordedSingleOutput(recorded)) {
        return *on ? "single output on" : "single output off";
    }
    return recorded.source == WordSource::Unknown ? "single output unknown" : "single output cleared";
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size() + 1, width), ' ');
    return text;
}

std::string SourceJson(const RecordedWord& recorded) {
    constexpr std::array<const char*, 3> kSources = {"unknown", "written", "seen"};
    std::string text =
        "\"source\": \"" + std::string(kSources[static_cast<std::size_t>(recorded.source)]) + "\"";
    const auto add = [&text](const char* name, const std::string& value) {
        text += std::string(", \"") + name + "\": " + (value.empty() ? "null" : JsonQuoted(value));
    };
    add("when", recorded.when);
    add("program", recorded.program);
    add("note", recorded.note);
    return text;
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

} // namespace treadkey
