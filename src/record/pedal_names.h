#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace treadkey {

// The nicknames the user gave pedals ('treadkeyctl name'), by pedal identity, kept in a small JSON file:
// {"names": {"serial:ABC123": "left"}}.
using PedalNames = std::map<std::string, std::string>;

// Where the names are kept: treadkey/pedal-names.json in the user's state directory ($XDG_STATE_HOME, else
// %LOCALAPPDATA% where that is set, as on Windows, else ~/.local/state). Nothing when no variable tells.
std::optional<std::filesystem::path>
PedalNamesFile(const std::function<const char*(const char*)>& environment);

struct LoadedNames {
    PedalNames names;
    std::string error; // why the file cannot be used; a missing file is no error
};
LoadedNames LoadPedalNames(const std::filesystem::path& file);

// Gives `pedal` the name (an empty name takes its name away), reading the file again and writing it whole
// under a lock, so that two runs at once lose neither's name. Returns why it failed; empty when it did not.
std::string SavePedalName(const std::filesystem::path& file, const std::string& pedal,
                          const std::string& name);

} // namespace treadkey
