#include "record/record_file.h"

#include "arguments/utf8_path.h"
#include "protocol/hex_byte.h"
#include "protocol/report_hex.h"
#include "record/state_file.h"
#include "record/utc_time.h"
#include "json/json.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace treadkey {
namespace {

std::string_view StateOf(const RecordedWord& recorded) {
    if (recorded.source == WordSource::Unknown) {
        return "unknown";
    }
    if (recorded.word.writer == WordWriter::MouseCommand) {
        return "mouse";
    }
    return IsClearedWord(recorded.word) ? "cleared" : "key";
}

std::string WordJson(const RecordedWord& recorded) {
    std::string text = "{\"state\": \"" + std::string(StateOf(recorded)) + "\", \"source\": \"" +
                       std::string(kWordSourceNames[static_cast<std::size_t>(recorded.source)]) + "\"";
    if (recorded.source != WordSource::Unknown) {
        text += ", \"command\": " + std::to_string(recorded.word.writer == WordWriter::MouseCommand ? 2 : 1) +
                ", \"word\": \"" + ReportHexLine(recorded.word.data) + "\"";
    }
    const auto add = [&text](const char* name, const std::string& value) {
        if (!value.empty()) {
            text += std::string(", \"") + name + "\": " + JsonQuoted(value);
        }
    };
    add("when", recorded.when);
    add("program", recorded.program);
    add("note", recorded.note);
    return text + "}";
}

const JsonValue* MemberOf(const JsonValue& object, std::string_view name) {
    for (const JsonMember& member : object.members) {
        if (member.name == name) {
            return &member.value;
        }
    }
    return nullptr;
}

std::string TextOf(const JsonValue& object, std::string_view name) {
    const JsonValue* value = MemberOf(object, name);
    return value != nullptr && value->kind == JsonValue::Kind::String ? value->text : "";
}

std::optional<MemoryWord> ParseWord(const JsonValue& object) {
    const JsonValue* command = MemberOf(object, "command");
    const std::string hex = TextOf(object, "word");
    if (command == nullptr || command->kind != JsonValue::Kind::Number ||
        (command->number != 1 && command->number != 2) || hex.size() != 11) {
        return std::nullopt;
    }
    MemoryWord word{{}, command->number == 2 ? WordWriter::MouseCommand : WordWriter::KeyCommand};
    for (std::size_t i = 0; i < word.data.size(); ++i) {
        const std::optional<int> high = HexDigitValue(hex[i * 3]);
        const std::optional<int> low = HexDigitValue(hex[i * 3 + 1]);
        if (!high || !low || (i > 0 && hex[i * 3 - 1] != ' ')) {
            return std::nullopt;
        }
        word.data[i] = static_cast<std::uint8_t>(*high << 4 | *low);
    }
    return word;
}

std::optional<RecordedWord> ParseRecordedWord(const JsonValue* object) {
    if (object == nullptr || object->kind != JsonValue::Kind::Object) {
        return std::nullopt;
    }
    RecordedWord recorded{WordSource::Unknown,
                          {},
                          TextOf(*object, "when"),
                          TextOf(*object, "program"),
                          TextOf(*object, "note")};
    const std::string source = TextOf(*object, "source");
    std::size_t index = 0;
    while (index < kWordSourceNames.size() && kWordSourceNames[index] != source) {
        ++index;
    }
    if (index == kWordSourceNames.size()) {
        return std::nullopt;
    }
    recorded.source = static_cast<WordSource>(index);
    if (recorded.source != WordSource::Unknown) {
        const std::optional<MemoryWord> word = ParseWord(*object);
        if (!word) {
            return std::nullopt;
        }
        recorded.word = *word;
    }
    return recorded;
}

// The identity's characters as they may stand in a file name on every system.
std::string FileNameOf(const std::string& pedal) {
    std::string name;
    for (const char c : pedal) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= 'A' && byte <= 'Z') || byte == '-' || byte == '_' || byte == '.';
        name += plain ? std::string(1, c) : "%" + TwoDigitHex(byte);
    }
    return name.empty() ? "%" : name;
}

// The identity a record's file name stands for, FileNameOf undone; nothing for a name FileNameOf never makes.
std::optional<std::string> PedalOfFileName(const std::string& name) {
    std::string pedal;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '%') {
            pedal += name[i];
            continue;
        }
        const std::optional<int> high = i + 2 < name.size() ? HexDigitValue(name[i + 1]) : std::nullopt;
        const std::optional<int> low = i + 2 < name.size() ? HexDigitValue(name[i + 2]) : std::nullopt;
        if (!high || !low) {
            return std::nullopt;
        }
        pedal += static_cast<char>(*high << 4 | *low);
        i += 2;
    }
    return pedal.empty() || FileNameOf(pedal) != name ? std::nullopt : std::optional(pedal);
}

std::filesystem::path AsideName(const std::filesystem::path& file, const std::string& now) {
    std::string stamp;
    for (const char c : now) {
        if (c >= '0' && c <= '9') {
            stamp += c;
        }
    }
    // Two records set aside in one second must not overwrite each other. Only a holder of the record's lock
    // sets it aside, so the name found free stays free until the rename.
    const std::filesystem::path name = WithSuffix(file, (".unreadable-" + stamp).c_str());
    std::filesystem::path aside = name;
    std::error_code ignored;
    for (int count = 2; std::filesystem::exists(aside, ignored); ++count) {
        aside = WithSuffix(name, ("-" + std::to_string(count)).c_str());
    }
    return aside;
}

// Reads the text of the record file under its lock; sets an unreadable one aside.
void ReadUnderLock(const std::optional<std::string>& text, const std::filesystem::path& file,
                   const std::string& now, LoadedRecord& loaded) {
    if (!text) {
        return;
    }
    ParsedRecord parsed = ParsePedalRecord(*text);
    if (parsed.record) {
        loaded.record = *parsed.record;
        return;
    }
    if (parsed.otherVersion) {
        loaded.error = Utf8OfPath(file) + ": " + parsed.error;
        return;
    }
    const std::filesystem::path aside = AsideName(file, now);
    std::error_code error;
    std::filesystem::rename(file, aside, error);
    loaded.warning = "the record " + Utf8OfPath(file) + " cannot be read (" + parsed.error + "); " +
                     (error ? "it stays, and a fresh record begins in memory"
                            : "it was set aside as " + Utf8OfPath(aside) + " and a fresh record begins");
}

} // namespace

std::filesystem::path PedalRecordFile(const std::filesystem::path& stateDirectory, const std::string& pedal) {
    return stateDirectory / "records" / (FileNameOf(pedal) + ".json");
}

std::vector<std::string> RecordedPedals(const std::filesystem::path& stateDirectory) {
    std::vector<std::string> pedals;
    std::error_code unreadable;
    for (std::filesystem::directory_iterator entry(stateDirectory / "records", unreadable), end;
         !unreadable && entry != end; entry.increment(unreadable)) {
        const std::filesystem::path& file = entry->path();
        if (file.extension() != ".json") {
            continue;
        }
        if (std::optional<std::string> pedal = PedalOfFileName(file.stem().string())) {
            pedals.push_back(std::move(*pedal));
        }
    }
    std::sort(pedals.begin(), pedals.end());
    return pedals;
}

std::string PedalRecordJson(const PedalRecord& record, const std::string& pedal) {
    std::string text = "{\n  \"version\": " + std::to_string(kRecordVersion) +
                       ",\n  \"pedal\": " + JsonQuoted(pedal) + ",\n  \"slots\": [";
    for (std::size_t i = 0; i < record.slotWords.size(); ++i) {
        text += std::string(i == 0 ? "\n" : ",\n") + "    " + WordJson(record.slotWords[i]);
    }
    return text + "\n  ],\n  \"singleOutput\": " + WordJson(record.singleOutput) +
           ",\n  \"playback\": " + WordJson(record.playback) + "\n}\n";
}

ParsedRecord ParsePedalRecord(const std::string& text) {
    ParsedRecord parsed;
    const JsonParseResult json = ParseJson(text);
    if (!json.value) {
        parsed.error = "line " + std::to_string(json.error.position.line) + ", column " +
                       std::to_string(json.error.position.column) + ": " + json.error.message;
        return parsed;
    }
    const JsonValue* version =
        json.value->kind == JsonValue::Kind::Object ? MemberOf(*json.value, "version") : nullptr;
    if (version == nullptr || version->kind != JsonValue::Kind::Number || version->number < 1 ||
        version->number > 1e9 || version->number != static_cast<double>(static_cast<long>(version->number))) {
        parsed.error = "no version number";
        return parsed;
    }
    if (version->number != kRecordVersion) {
        parsed.otherVersion = true;
        parsed.error = "a record of version " + std::to_string(static_cast<long>(version->number)) +
                       ", and this program reads version " + std::to_string(kRecordVersion) +
                       " only; it is left as it is";
        return parsed;
    }
    PedalRecord record;
    const JsonValue* slots = MemberOf(*json.value, "slots");
    if (slots == nullptr || slots->kind != JsonValue::Kind::Array ||
        slots->items.size() != record.slotWords.size()) {
        parsed.error = "not twelve slots";
        return parsed;
    }
    for (std::size_t i = 0; i < record.slotWords.size(); ++i) {
        const std::optional<RecordedWord> slot = ParseRecordedWord(&slots->items[i]);
        if (!slot) {
            parsed.error = "slot " + std::to_string(i + 1) + " is not a recorded word";
            return parsed;
        }
        record.slotWords[i] = *slot;
    }
    const std::optional<RecordedWord> single = ParseRecordedWord(MemberOf(*json.value, "singleOutput"));
    const std::optional<RecordedWord> playback = ParseRecordedWord(MemberOf(*json.value, "playback"));
    if (!single || !playback) {
        parsed.error = "the settings are not recorded words";
        return parsed;
    }
    record.singleOutput = *single;
    record.playback = *playback;
    parsed.record = record;
    return parsed;
}

LoadedRecord LoadPedalRecord(const std::filesystem::path& file, const std::string& now) {
    LoadedRecord loaded;
    const std::optional<std::string> text = ReadWholeFile(file);
    if (!text || ParsePedalRecord(*text).record) {
        ReadUnderLock(text, file, now, loaded);
        return loaded;
    }
    // Only setting an unreadable record aside needs the lock: a writer may be replacing it just now.
    const std::string failure =
        ChangeFileWhole(file, [&](const std::optional<std::string>& locked) -> std::optional<std::string> {
            ReadUnderLock(locked, file, now, loaded);
            return std::nullopt;
        });
    if (!failure.empty()) {
        loaded.error = failure;
    }
    return loaded;
}

LoadedRecord UpdatePedalRecord(const std::filesystem::path& file, const std::string& pedal,
                               const std::function<void(PedalRecord&)>& change, const std::string& now,
                               std::chrono::milliseconds patience) {
    const LockedStateFile locked(file, patience);
    if (!locked.held()) {
        LoadedRecord loaded;
        loaded.error = locked.failure();
        loaded.behind = locked.busy();
        return loaded;
    }
    return UpdateLockedPedalRecord(locked, pedal, change, now);
}

LoadedRecord UpdateLockedPedalRecord(const LockedStateFile& locked, const std::string& pedal,
                                     const std::function<void(PedalRecord&)>& change,
                                     const std::string& now) {
    LoadedRecord loaded;
    ReadUnderLock(locked.Read(), locked.file(), now, loaded);
    if (!loaded.error.empty()) {
        return loaded;
    }
    change(loaded.record);
    loaded.error = locked.Replace(PedalRecordJson(loaded.record, pedal));
    return loaded;
}

std::string UtcNowText() {
    return UtcText(std::chrono::system_clock::now(), UtcPrecision::Seconds);
}

} // namespace treadkey
