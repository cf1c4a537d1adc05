#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace treadkey {

// The program's folder in the user's state directory: treadkey in $XDG_STATE_HOME, else in %LOCALAPPDATA%
// where that is set, as on Windows, else in ~/.local/state. Nothing when no variable tells.
std::optional<std::filesystem::path>
StateDirectory(const std::function<const char*(const char*)>& environment);

// The whole text of a file; nothing when it cannot be opened (a file not there yet, mostly).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Runs `change` on the file's text (nothing when there is no file yet) and puts what it returns in the file's
// place, under a lock beside the file, so that two programs at once lose neither's change. The new text is
// written beside the file, flushed and renamed over it: a reader sees the old text or the new, never half.
// When `change` returns nothing the file stays as it is. Returns why the change was not stored; empty when it
// was, or when `change` left the file alone.
std::string
ChangeFileWhole(const std::filesystem::path& file,
                const std::function<std::optional<std::string>(const std::optional<std::string>&)>& change);

} // namespace treadkey
