#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace treadkey {

// Who asks: the access a node grants is judged for this user.
struct UserIdentity {
    std::uint32_t uid = 0;
    std::vector<std::uint32_t> groups; // the primary group among them
};

// The system a diagnosis reads: every file is looked up under `root`, so that a test can lay out a whole
// system in a folder of its own.
struct SystemRoot {
    std::filesystem::path root = "/";
    UserIdentity user;
    // The session the asker runs in (XDG_SESSION_ID); empty when it is not known.
    std::string sessionId;
    // The raw POSIX access ACL of a file (the system.posix_acl_access attribute); nothing when it has none.
    std::function<std::optional<std::string>(const std::filesystem::path&)> readAcl;

    std::filesystem::path under(const std::filesystem::path& absolute) const;
};

// The running system as this process sees it; Windows has none of these files, and doctor asks its HID stack
// instead.
SystemRoot RunningSystem();

// A whole small file's text; empty when it cannot be read.
std::string ReadSmallFile(const std::filesystem::path& path);

} // namespace treadkey
