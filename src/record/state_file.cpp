#include "record/state_file.h"

#include "arguments/utf8_path.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace treadkey {

std::filesystem::path WithSuffix(std::filesystem::path file, const char* suffix) {
    return file += suffix;
}

std::optional<std::filesystem::path>
StateDirectory(const std::function<const char*(const char*)>& environment) {
    // A relative path would put the state wherever the program happens to start. One from the root counts,
    // also on Windows without a drive letter.
    const auto variable = [&environment](const char* name) {
        const char* value = environment(name);
        if (value == nullptr) {
            return std::optional<std::filesystem::path>();
        }
        std::filesystem::path path = PathOfUtf8(value);
        return path.has_root_directory() ? std::optional(std::move(path)) : std::nullopt;
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

std::string StateDirectoryProblem(const std::filesystem::path& directory) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(directory, error);
    if (error && error != std::errc::no_such_file_or_directory) {
        return error.message();
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
        return "it is not a folder";
    }
    return "";
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

LockedStateFile::LockedStateFile(std::filesystem::path file, std::chrono::milliseconds patience)
    : file_(std::move(file)), patience_(patience) {
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    if (error) {
        folderFailure_ = "cannot make " + Utf8OfPath(file_.parent_path()) + ": " + error.message();
        return;
    }
    lock_.emplace(WithSuffix(file_, ".lock"), patience);
}

std::string LockedStateFile::failure() const {
    if (!lock_) {
        return folderFailure_;
    }
    const std::filesystem::path lockFile = WithSuffix(file_, ".lock");
    switch (lock_->state()) {
    case FileLock::State::Held:
        return "";
    case FileLock::State::Busy:
        return "cannot lock " + Utf8OfPath(file_) + ": another program kept it locked for " +
               std::to_string(std::chrono::duration_cast<std::chrono::seconds>(patience_).count()) +
               " seconds";
    case FileLock::State::Unusable:
        break;
    }
    std::error_code ignored;
    return "cannot lock " + Utf8OfPath(file_) + ": its lock file " + Utf8OfPath(lockFile) +
           " cannot be used (" +
           (std::filesystem::is_directory(lockFile, ignored) ? "it is a folder: " : "") + lock_->failure() +
           ")";
}

std::string LockedStateFile::Replace(const std::string& text) const {
    const std::filesystem::path written = WithSuffix(file_, ".new");
    {
        std::ofstream stream(written, std::ios::binary | std::ios::trunc);
        stream << text;
        stream.flush();
        stream.close();
        if (!stream) {
            return "cannot write " + Utf8OfPath(written);
        }
    }
    std::error_code error;
    std::filesystem::rename(written, file_, error);
    if (error) {
        return "cannot replace " + Utf8OfPath(file_) + ": " + error.message();
    }
    return "";
}

std::string
ChangeFileWhole(const std::filesystem::path& file,
                const std::function<std::optional<std::string>(const std::optional<std::string>&)>& change) {
    const LockedStateFile locked(file, kLockPatience);
    if (!locked.held()) {
        return locked.failure();
    }
    const std::optional<std::string> changed = change(locked.Read());
    return changed ? locked.Replace(*changed) : "";
}

} // namespace treadkey
