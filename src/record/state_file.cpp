#include "record/state_file.h"

#include "record/file_lock.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

namespace treadkey {
namespace {

constexpr auto kLockPatience = std::chrono::seconds(5);

} // namespace

std::optional<std::filesystem::path>
StateDirectory(const std::function<const char*(const char*)>& environment) {
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
    return *directory / "treadkey";
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::string
ChangeFileWhole(const std::filesystem::path& file,
                const std::function<std::optional<std::string>(const std::optional<std::string>&)>& change) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        return "cannot make " + file.parent_path().string() + ": " + error.message();
    }
    const FileLock lock(file.string() + ".lock", kLockPatience);
    if (!lock.held()) {
        return "cannot lock " + file.string() + ": another program kept it locked for 5 seconds";
    }
    const std::optional<std::string> changed = change(ReadWholeFile(file));
    if (!changed) {
        return "";
    }
    const std::filesystem::path written = file.string() + ".new";
    {
        std::ofstream stream(written, std::ios::binary | std::ios::trunc);
        stream << *changed;
        stream.flush();
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
