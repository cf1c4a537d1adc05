#include "record/file_lock.h"

#include <windows.h>

#include <system_error>

namespace treadkey {

// LockFileEx locks belong to the handle, so two handles in one program exclude each other too.
FileLock::FileLock(const std::filesystem::path& path, std::chrono::milliseconds patience) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // No wait can mend a folder in the lock's place or a file that may not be opened.
        state_ = State::Unusable;
        failure_ = std::system_category().message(static_cast<int>(::GetLastError()));
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    const auto tryLock = [file] {
        OVERLAPPED whole{};
        return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole) != 0;
    };
    waitFor(tryLock, patience);
}

FileLock::~FileLock() {
    if (handle_ != -1) {
        // Closing the handle gives the lock back; the file stays, as on other systems.
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

} // namespace treadkey
