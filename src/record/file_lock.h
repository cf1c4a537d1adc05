#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace treadkey {

// A lock on a file of its own, held from construction until destruction, by one program at a time. The
// system gives it back when its holder ends, however it ends: a program killed while it held the lock keeps
// no one waiting. One platform file a system implements it.
class FileLock {
public:
    // Waits up to `patience` for the lock; held() says whether it came.
    FileLock(const std::filesystem::path& path, std::chrono::milliseconds patience);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }

private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
};

} // namespace treadkey
