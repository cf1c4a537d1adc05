#include "record/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace treadkey {

// flock, not fcntl: its lock belongs to the open file, so two opens in one program exclude each other too.
FileLock::FileLock(const std::filesystem::path& path, std::chrono::milliseconds patience) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // No wait can mend a folder in the lock's place or a file that may not be opened.
        state_ = State::Unusable;
        failure_ = std::generic_category().message(errno);
        return;
    }
    handle_ = fd;
    waitFor([fd] { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }, patience);
}

FileLock::~FileLock() {
    if (handle_ >= 0) {
        // Closing the file gives the lock back. The file stays: removing it could let two programs lock
        // different files of the same name.
        ::close(static_cast<int>(handle_));
    }
}

} // namespace treadkey
