#include "cli/pedal_names.h"

#include "cli/json.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

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

// A lock folder: taken by whoever makes it, given back by removing it. Making a folder fails when it exists
// on every platform (an fopen "x" is ignored by the Windows C library), so two runs never both hold it. One
// left behind by a run that died is taken over once it is older than any save could take.
class NamesLock {
public:
    explicit NamesLock(std::filesystem::path path) : path_(std::move(path)) {
        constexpr auto kStale = std::chrono::seconds(10);
        constexpr auto kGiveUpAfter = std::chrono::seconds(5);
        const auto deadline = std::chrono::steady_clock::now() + kGiveUpAfter;
        for (;;) {
            std::error_code error;
            if (std::filesystem::create_directory(path_, error)) {
                held_ = true;
                return;
            }
            const auto age = std::filesystem::file_time_type::clock::now() -
                             std::filesystem::last_write_time(path_, error);
            if (!error && age > kStale) {
                std::filesystem::remove(path_, error);
                continue;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~NamesLock() {
        if (held_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    NamesLock(const NamesLock&) = delete;
    NamesLock& operator=(const NamesLock&) = delete;

    bool held() const { return held_; }

private:
    std::filesystem::path path_;
    bool held_ = false;
};

} // namespace

std::optional<std::filesystem::path>
PedalNamesFile(const std::function<const char*(const char*)>& environment) {
    const auto variable = [&environment](const char* name) {
        const char* value = environment(name);
        return value != nullptr && *value != '\0' ? std::optional<std::filesystem::path>(value)
                                                  : std::nullopt;
    };
    std::optional<std::filesystem::path> directory = variable("XDG_STATE_HOME");
    if (!directory) {
        directory = variable("LOCALAPPDATA");
    }
    if (!directory) {
        if (const std::optional<std::filesystem::path> home = variable("HOME")) {
            directory = *home / ".local" / "state";
        }
    }
    if (!directory) {
        return std::nullopt;
    }
    return *directory / "treadkey" / "pedal-names.json";
}

LoadedNames LoadPedalNames(const std::filesystem::path& file) {
    LoadedNames loaded;
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return loaded;
    }
    std::ostringstream text;
    text << stream.rdbuf();
    const JsonParseResult parsed = ParseJson(text.str());
    const std::string where = file.string() + ": ";
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

std::string SavePedalName(const std::filesystem::path& file, const std::string& pedal,
                          const std::string& name) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        return "cannot make " + file.parent_path().string() + ": " + error.message();
    }
    const NamesLock lock(file.string() + ".lock");
    if (!lock.held()) {
        return "cannot lock " + file.string() + ": another run keeps it (remove " + file.string() +
               ".lock if none does)";
    }
    LoadedNames loaded = LoadPedalNames(file);
    if (!loaded.error.empty()) {
        return loaded.error;
    }
    if (name.empty()) {
        loaded.names.erase(pedal);
    } else {
        loaded.names[pedal] = name;
    }
    // Written whole beside the file, then put in its place: a reader sees the old names or the new, never
    // half of them.
    const std::filesystem::path written = file.string() + ".new";
    {
        std::ofstream stream(written, std::ios::binary | std::ios::trunc);
        stream << NamesJson(loaded.names);
        stream.close();
        if (!stream) {
            return "cannot write " + written.string();
        }
    }
    std::filesystem::rename(written, file, error);
    if (error) {
        return "cannot replace " + file.string() + ": " + error.message();
    }
    return "";
}

} // namespace treadkey
