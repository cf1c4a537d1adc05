#include "stacks/virtual/append_line.h"

#include <windows.h>

namespace treadkey {
namespace {

// A byte far past any log's end, locked while a line is put at the end: the lock serves as the log's own.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

} // namespace

// The C library's append mode seeks to the end and then writes, so two programs at once can write at the same
// place and one line is lost; Wine loses lines with an append-only handle too. Each writer takes the file's
// lock, then puts its line at the end.
bool AppendLine(const std::filesystem::path& file, const std::string& line) {
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    OVERLAPPED lockPlace{};
    lockPlace.OffsetHigh = kLockOffsetHigh;
    bool whole = LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockPlace) != 0;
    if (whole) {
        DWORD written = 0;
        whole = SetFilePointerEx(handle, LARGE_INTEGER{}, nullptr, FILE_END) != 0 &&
                WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != 0 &&
                written == line.size();
        UnlockFileEx(handle, 0, 1, 0, &lockPlace);
    }
    return CloseHandle(handle) != 0 && whole;
}

} // namespace treadkey
