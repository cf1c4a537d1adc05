#pragma once

#include "diagnosis/system_root.h"

#include <optional>
#include <string>
#include <vector>

namespace treadkey {

// What the system's own record files say: account names, udev's database, logind's sessions.

// The name of a user or group from etc/passwd or etc/group; the number as text when it has none there.
std::string UserName(const SystemRoot& system, std::uint32_t user);
std::string GroupName(const SystemRoot& system, std::uint32_t group);

// Whether udev runs: its database folder run/udev/data exists.
bool HasUdev(const SystemRoot& system);

// The tags udev gave the device with this "major:minor" number, from run/udev/data/c<major>:<minor>;
// nothing when udev has no record of it.
std::optional<std::vector<std::string>> UdevTags(const SystemRoot& system, const std::string& deviceNumber);

// A logind session record, run/systemd/sessions/<id>.
struct SessionRecord {
    std::string id;
    std::uint32_t user = 0;
    bool remote = false;
    bool active = false;
    std::string seat;
    std::string remoteHost;
};

// Whether logind keeps records: run/systemd/sessions exists.
bool HasLogind(const SystemRoot& system);

// The user's sessions, the system's own session (when it is one of them) first.
std::vector<SessionRecord> UserSessions(const SystemRoot& system);

// Whether this process runs in a Flatpak sandbox (which leaves /.flatpak-info in it).
bool InFlatpak(const SystemRoot& system);

} // namespace treadkey
