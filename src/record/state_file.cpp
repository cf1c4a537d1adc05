#include "record/state_file.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

namespace treadkey {
namespace {

// A lock folder: taken by whoever makes it, given back by removing it. Making a folder fails when it exists
// on every platform (an fopen "x" is ignored by the Windows C library), so two programs never both hold it.
// One left behind by a program that died is taken over once it is older than any change could take.
class FileLock {
public:
    explicit FileLock(std::filesystem::path path) : path_(std::move(path)) {
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
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~FileLock() {
        if (held_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }

private:
    std::filesystem::path path_;
    bool held_ = false;
};

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
    const FileLock lock(file.string() + ".lock");
    if (!lock.held()) {
        return "cannot lock " + file.string() + ": another program keeps it (remove " + file.string() +
               ".lock if none does)";
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
