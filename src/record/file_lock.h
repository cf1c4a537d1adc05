#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

namespace treadkey {

// A lock on a file of its own, held from construction until destruction, by one program at a time. The
// system gives it back when its holder ends, however it ends: a program killed while it held the lock keeps
// no one waiting. One platform file a system implements it.
class FileLock {
public:
    enum class State : std::uint8_t {
        Held,
        Busy,    // another program held it for all of the patience
        Unusable // the lock file cannot be opened: a folder in its place, say; failure() tells why
    };

    // Waits up to `patience` for the lock, unless the lock file cannot be opened at all.
    FileLock(const std::filesystem::path& path, std::chrono::milliseconds patience);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return state_ == State::Held; }
    State state() const { return state_; }
    // The system's reason the lock file cannot be opened; empty unless Unusable.
    const std::string& failure() const { return failure_; }

private:
    // Tries until `tryLock` takes the lock or the patience is out; each system's file gives its own try.
    template <class TryLock> void waitFor(TryLock tryLock, std::chrono::milliseconds patience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (!tryLock()) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        state_ = State::Held;
    }

    std::intptr_t handle_ = -1;
    State state_ = State::Busy;
    std::string failure_;
};

} // namespace treadkey
