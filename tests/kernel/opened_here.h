#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace treadkey::kerneltest {

// Whether this process holds a descriptor on the node: a monitor running in it has opened it. A node that
// went away shows as "(deleted)", so a descriptor on an earlier node of the same name does not count.
inline bool OpenedHere(const std::string& node) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ignored)) {
        if (std::filesystem::read_symlink(entry.path(), ignored) == node) {
            return true;
        }
    }
    return false;
}

} // namespace treadkey::kerneltest
