#include "diagnosis/system_root.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace treadkey {

namespace {

std::optional<std::string> ReadAccessAcl(const std::filesystem::path& path) {
    constexpr const char* kName = "system.posix_acl_access";
    const ssize_t size = getxattr(path.c_str(), kName, nullptr, 0);
    if (size <= 0) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const ssize_t read = getxattr(path.c_str(), kName, bytes.data(), bytes.size());
    if (read <= 0) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(read));
    return bytes;
}

std::vector<gid_t> ProcessGroups() {
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    const int count = getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    groups.push_back(getegid());
    return groups;
}

} // namespace

SystemRoot RunningSystem() {
    SystemRoot system;
    system.user = {geteuid(), ProcessGroups()};
    if (const char* session = std::getenv("XDG_SESSION_ID")) {
        system.sessionId = session;
    }
    system.readAcl = ReadAccessAcl;
    return system;
}

} // namespace treadkey
