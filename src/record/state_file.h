#pragma once

#include "record/file_lock.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace treadkey {

// The program's folder in the user's state directory: treadkey in $XDG_STATE_HOME, else in %LOCALAPPDATA%
// where that is set, as on Windows, else in ~/.local/state. A variable that is not an absolute path counts
// as unset, as the XDG rule asks. Nothing when no variable tells.
std::optional<std::filesystem::path>
StateDirectory(const std::function<const char*(const char*)>& environment);

// Why there is no state directory, said when a write keeps no record.
inline constexpr std::string_view kNoStateDirectoryReason =
    "neither XDG_STATE_HOME nor HOME is set to an absolute path";

// Why the state directory cannot hold files (a file in its place or above it, say); empty when it can, or
// is not there yet and may be made.
std::string StateDirectoryProblem(const std::filesystem::path& directory);

// The whole text of a file; nothing when it cannot be opened (a file not there yet, mostly).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// The file's path with text added to its name ("records/x.json" and ".lock": "records/x.json.lock").
std::filesystem::path WithSuffix(std::filesystem::path file, const char* suffix);

// How long a program that writes waits for another to let go of a state file's lock.
inline constexpr std::chrono::milliseconds kLockPatience = std::chrono::seconds(5);

// A state file under its lock beside it (FILE.lock), from construction until destruction: what is read and
// replaced meanwhile is safe from every other program that takes the lock.
class LockedStateFile {
public:
    // Makes the file's folder and waits up to `patience` for the lock.
    LockedStateFile(std::filesystem::path file, std::chrono::milliseconds patience);

    const std::filesystem::path& file() const { return file_; }
    bool held() const { return lock_ && lock_->held(); }
    // Another program held the lock for all of the patience: trying again later may succeed.
    bool busy() const { return lock_ && lock_->state() == FileLock::State::Busy; }
    // Why the lock was not had; empty when it was.
    std::string failure() const;

    std::optional<std::string> Read() const { return ReadWholeFile(file_); }
    // Writes the text beside the file, flushes it and renames it over the file: a reader sees the old text
    // or the new, never half. Returns why it failed; empty when it did not.
    std::string Replace(const std::string& text) const;

private:
    std::filesystem::path file_;
    std::chrono::milliseconds patience_;
    std::string folderFailure_;
    std::optional<FileLock> lock_;
};

// Runs `change` on the file's text (nothing when there is no file yet) and puts what it returns in the file's
// place, under the file's lock, so that two programs at once lose neither's change. When `change` returns
// nothing the file stays as it is. Returns why the change was not stored; empty when it was, or when
// `change` left the file alone.
std::string
ChangeFileWhole(const std::filesystem::path& file,
                const std::function<std::optional<std::string>(const std::optional<std::string>&)>& change);

} // namespace treadkey
