#pragma once

#include "diagnosis/node_access.h"

#include <string>
#include <vector>

namespace treadkey::testing {

// A system.posix_acl_access attribute as the kernel stores it: a version word, then tag, permissions and id
// of each entry, little-endian.
inline std::string AclBytes(const std::vector<AclEntry>& entries) {
    auto word = [](std::uint32_t value, int bytes) {
        std::string text;
        for (int i = 0; i < bytes; ++i) {
            text += static_cast<char>((value >> (8 * i)) & 0xFFU);
        }
        return text;
    };
    std::string bytes = word(2, 4);
    for (const AclEntry& entry : entries) {
        bytes +=
            word(1U << static_cast<unsigned>(entry.tag), 2) + word(entry.permissions, 2) + word(entry.id, 4);
    }
    return bytes;
}

// What logind puts on a node for the session's user: owner, user, owning group and mask may read and write.
inline std::string AclForUser(std::uint32_t user) {
    using Tag = AclEntry::Tag;
    return AclBytes({{Tag::Owner, 6, 0xFFFFFFFF},
                     {Tag::User, 6, user},
                     {Tag::OwningGroup, 6, 0xFFFFFFFF},
                     {Tag::Mask, 6, 0xFFFFFFFF},
                     {Tag::Other, 0, 0xFFFFFFFF}});
}

} // namespace treadkey::testing
