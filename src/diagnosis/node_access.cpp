#include "diagnosis/node_access.h"

#include "diagnosis/system_records.h"

#include <sys/stat.h>

#include <algorithm>

namespace treadkey {
namespace {

constexpr std::uint32_t kAclVersion = 2;
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kEntrySize = 8;

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count; i > 0; --i) {
        value = (value << 8U) | static_cast<unsigned char>(bytes[at + i - 1]);
    }
    return value;
}

std::optional<AclEntry::Tag> TagOf(std::uint32_t tag) {
    switch (tag) {
    case 0x01:
        return AclEntry::Tag::Owner;
    case 0x02:
        return AclEntry::Tag::User;
    case 0x04:
        return AclEntry::Tag::OwningGroup;
    case 0x08:
        return AclEntry::Tag::Group;
    case 0x10:
        return AclEntry::Tag::Mask;
    case 0x20:
        return AclEntry::Tag::Other;
    default:
        return std::nullopt;
    }
}

bool HasGroup(const UserIdentity& user, std::uint32_t group) {
    return std::ranges::find(user.groups, group) != user.groups.end();
}

// The POSIX ACL access check (or the plain mode's, without ACL), for read and write.
void Judge(const SystemRoot& system, NodeAccess& access) {
    const UserIdentity& user = system.user;
    if (user.uid == 0) {
        access.granted = 6;
        access.grantedBy = "root";
        return;
    }
    if (user.uid == access.owner) {
        access.granted = (access.mode >> 6U) & 7U;
        access.grantedBy = "owner";
        return;
    }
    const unsigned groupBits = (access.mode >> 3U) & 7U;
    // With an ACL, the mode's group bits are the mask over every entry but the owner's and others'.
    const unsigned mask = access.acl.empty() ? 7U : groupBits;
    for (const AclEntry& entry : access.acl) {
        if (entry.tag == AclEntry::Tag::User && entry.id == user.uid) {
            access.granted = entry.permissions & mask;
            access.grantedBy = "the ACL entry for you";
            return;
        }
    }
    bool groupMatched = false;
    unsigned groupGrant = 0;
    std::string groupName;
    auto consider = [&](std::uint32_t group, unsigned permissions) {
        if (HasGroup(user, group)) {
            groupMatched = true;
            groupGrant |= permissions;
            groupName = GroupName(system, group);
        }
    };
    if (access.acl.empty()) {
        consider(access.group, groupBits);
    } else {
        for (const AclEntry& entry : access.acl) {
            if (entry.tag == AclEntry::Tag::OwningGroup) {
                consider(access.group, entry.permissions);
            } else if (entry.tag == AclEntry::Tag::Group) {
                consider(entry.id, entry.permissions);
            }
        }
    }
    if (groupMatched) {
        access.granted = groupGrant & mask;
        access.grantedBy = "group '" + groupName + "'";
        return;
    }
    access.granted = access.mode & 7U;
    access.grantedBy = "others";
}

} // namespace

std::optional<std::vector<AclEntry>> ParseAccessAcl(std::string_view bytes) {
    if (bytes.size() < kHeaderSize || (bytes.size() - kHeaderSize) % kEntrySize != 0 ||
        LittleEndian(bytes, 0, 4) != kAclVersion) {
        return std::nullopt;
    }
    std::vector<AclEntry> entries;
    for (std::size_t at = kHeaderSize; at < bytes.size(); at += kEntrySize) {
        const std::optional<AclEntry::Tag> tag = TagOf(LittleEndian(bytes, at, 2));
        if (!tag) {
            return std::nullopt;
        }
        entries.push_back({*tag, LittleEndian(bytes, at + 2, 2) & 7U, LittleEndian(bytes, at + 4, 4)});
    }
    return entries;
}

NodeAccess ReadNodeAccess(const SystemRoot& system, const std::filesystem::path& node) {
    NodeAccess access;
    const std::filesystem::path path = system.under(node);
    struct stat status {};
    if (stat(path.string().c_str(), &status) != 0) {
        return access;
    }
    access.exists = true;
    access.owner = status.st_uid;
    access.group = status.st_gid;
    access.mode = status.st_mode & 0777U;
    if (system.readAcl) {
        if (const std::optional<std::string> bytes = system.readAcl(path)) {
            access.acl = ParseAccessAcl(*bytes).value_or(std::vector<AclEntry>{});
        }
    }
    Judge(system, access);
    return access;
}

std::string ModeText(unsigned mode) {
    std::string text;
    for (int shift = 6; shift >= 0; shift -= 3) {
        const unsigned bits = (mode >> static_cast<unsigned>(shift)) & 7U;
        text += (bits & 4U) != 0 ? 'r' : '-';
        text += (bits & 2U) != 0 ? 'w' : '-';
        text += (bits & 1U) != 0 ? 'x' : '-';
    }
    return text;
}

} // namespace treadkey
