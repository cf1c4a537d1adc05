#pragma once

#include "diagnosis/system_root.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// One entry of a POSIX access ACL.
struct AclEntry {
    enum class Tag { Owner, User, OwningGroup, Group, Mask, Other };
    Tag tag = Tag::Other;
    unsigned permissions = 0; // read 4, write 2, execute 1
    std::uint32_t id = 0;     // the user or group of a User or Group entry

    friend bool operator==(const AclEntry&, const AclEntry&) = default;
};

// The entries of a system.posix_acl_access attribute; nothing when the bytes are not one.
std::optional<std::vector<AclEntry>> ParseAccessAcl(std::string_view bytes);

// A node's owner, group, mode and ACL, and what they grant one user.
struct NodeAccess {
    bool exists = false;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    unsigned mode = 0;         // the permission bits
    std::vector<AclEntry> acl; // empty when the node has none beyond its mode
    unsigned granted = 0;      // read 4, write 2 for the user
    std::string grantedBy;     // "owner", "the ACL entry for you", "group 'plugdev'", "others", "root"
    bool canReadWrite() const { return (granted & 6U) == 6U; }
};

// Looks at the node at `node` (a path on the running system, read under the root) for the system's user.
NodeAccess ReadNodeAccess(const SystemRoot& system, const std::filesystem::path& node);

// The permission bits as ls writes them: "rw-rw----".
std::string ModeText(unsigned mode);

} // namespace treadkey
