#include "record/pedal_names.h"

#include "arguments/utf8_path.h"
#include "record/state_file.h"
#include "json/json.h"

namespace treadkey {
namespace {

std::string NamesJson(const PedalNames& names) {
    std::string text = "{\n  \"names\": {";
    const char* separator = "\n";
    for (const auto& [pedal, name] : names) {
        text += separator + std::string("    ") + JsonQuoted(pedal) + ": " + JsonQuoted(name);
        separator = ",\n";
    }
    return text + (names.empty() ? "}\n}\n" : "\n  }\n}\n");
}

// The names in a file's text; `where` starts the message when the text is not JSON.
LoadedNames NamesOfText(const std::string& text, const std::string& where) {
    LoadedNames loaded;
    const JsonParseResult parsed = ParseJson(text);
    if (!parsed.value) {
        loaded.error = where + std::to_string(parsed.error.position.line) + ":" +
                       std::to_string(parsed.error.position.column) + ": " + parsed.error.message;
        return loaded;
    }
    for (const JsonMember& member : parsed.value->members) {
        if (member.name != "names" || member.value.kind != JsonValue::Kind::Object) {
            continue; // written by a later version, perhaps: what is not understood is left alone
        }
        for (const JsonMember& name : member.value.members) {
            if (name.value.kind == JsonValue::Kind::String) {
                loaded.names[name.name] = name.value.text;
            }
        }
    }
    return loaded;
}

} // namespace

std::optional<std::filesystem::path>
PedalNamesFile(const std::function<const char*(const char*)>& environment) {
    const std::optional<std::filesystem::path> directory = StateDirectory(environment);
    return directory ? std::optional(*directory / "pedal-names.json") : std::nullopt;
}

LoadedNames LoadPedalNames(const std::filesystem::path& file) {
    const std::optional<std::string> text = ReadWholeFile(file);
    return text ? NamesOfText(*text, Utf8OfPath(file) + ": ") : LoadedNames{};
}

std::string SavePedalName(const std::filesystem::path& file, const std::string& pedal,
                          const std::string& name) {
    std::string error;
    const std::string failure =
        ChangeFileWhole(file, [&](const std::optional<std::string>& text) -> std::optional<std::string> {
            LoadedNames loaded = text ? NamesOfText(*text, Utf8OfPath(file) + ": ") : LoadedNames{};
            if (!loaded.error.empty()) {
                error = loaded.error;
                return std::nullopt;
            }
            if (name.empty()) {
                loaded.names.erase(pedal);
            } else {
                loaded.names[pedal] = name;
            }
            return NamesJson(loaded.names);
        });
    return failure.empty() ? error : failure;
}

} // namespace treadkey
