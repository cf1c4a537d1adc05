#include "diagnosis/system_records.h"

#include <algorithm>
#include <sstream>
#include <system_error>

namespace treadkey {
namespace {

// The name in the line of a passwd or group file whose third field is `id`.
std::string NameWithId(const SystemRoot& system, const char* file, unsigned id) {
    std::istringstream lines(ReadSmallFile(system.under(file)));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name;
        std::string password;
        std::string number;
        if (std::getline(fields, name, ':') && std::getline(fields, password, ':') &&
            std::getline(fields, number, ':') && number == std::to_string(id)) {
            return name;
        }
    }
    return std::to_string(id);
}

bool IsFolder(const SystemRoot& system, const char* folder) {
    std::error_code error;
    return std::filesystem::is_directory(system.under(folder), error);
}

// KEY=value lines, as logind writes its records.
std::string ValueOf(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(key + "=")) {
            return line.substr(key.size() + 1);
        }
    }
    return {};
}

} // namespace

std::string UserName(const SystemRoot& system, std::uint32_t user) {
    return NameWithId(system, "/etc/passwd", user);
}

std::string GroupName(const SystemRoot& system, std::uint32_t group) {
    return NameWithId(system, "/etc/group", group);
}

bool HasUdev(const SystemRoot& system) {
    return IsFolder(system, "/run/udev/data");
}

std::optional<std::vector<std::string>> UdevTags(const SystemRoot& system, const std::string& deviceNumber) {
    const std::filesystem::path record = system.under("/run/udev/data/c" + deviceNumber);
    std::error_code error;
    if (!std::filesystem::is_regular_file(record, error)) {
        return std::nullopt;
    }
    // "G:" lists every tag the device ever had, "Q:" (newer udev) the ones of its last event; either counts.
    std::vector<std::string> tags;
    std::istringstream lines(ReadSmallFile(record));
    for (std::string line; std::getline(lines, line);) {
        if ((line.starts_with("G:") || line.starts_with("Q:")) &&
            std::ranges::find(tags, line.substr(2)) == tags.end()) {
            tags.push_back(line.substr(2));
        }
    }
    return tags;
}

bool HasLogind(const SystemRoot& system) {
    return IsFolder(system, "/run/systemd/sessions");
}

std::vector<SessionRecord> UserSessions(const SystemRoot& system) {
    std::vector<SessionRecord> sessions;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(system.under("/run/systemd/sessions"), error)) {
        if (!entry.is_regular_file(error) || entry.path().extension() == ".ref") {
            continue;
        }
        const std::string text = ReadSmallFile(entry.path());
        if (ValueOf(text, "UID") != std::to_string(system.user.uid)) {
            continue;
        }
        sessions.push_back({.id = entry.path().filename().string(),
                            .user = system.user.uid,
                            .remote = ValueOf(text, "REMOTE") == "1",
                            .active = ValueOf(text, "ACTIVE") == "1",
                            .seat = ValueOf(text, "SEAT"),
                            .remoteHost = ValueOf(text, "REMOTE_HOST")});
    }
    std::ranges::sort(sessions, [&](const SessionRecord& a, const SessionRecord& b) {
        return (a.id == system.sessionId) != (b.id == system.sessionId) ? a.id == system.sessionId
                                                                        : a.id < b.id;
    });
    return sessions;
}

bool InFlatpak(const SystemRoot& system) {
    std::error_code error;
    return std::filesystem::exists(system.under("/.flatpak-info"), error);
}

} // namespace treadkey
