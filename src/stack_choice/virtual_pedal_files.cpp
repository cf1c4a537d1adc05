#include "stack_choice/virtual_pedal_files.h"

#include "arguments/shown_text.h"
#include "arguments/utf8_path.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>

namespace treadkey {
namespace {

namespace fs = std::filesystem;

// The folder a file goes in: a bare name's is the current one.
fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Why a file that is there cannot be opened this way, or nothing when it can.
std::optional<std::string> OpenProblem(const fs::path& file, std::ios::openmode mode) {
    std::error_code ignored;
    if (fs::is_directory(file, ignored)) {
        return "it is a folder";
    }
    errno = 0;
    const std::fstream stream(file, mode);
    if (!stream) {
        return errno != 0 ? std::strerror(errno) : "it cannot be opened";
    }
    return std::nullopt;
}

constexpr std::ios::openmode kAppend = std::ios::binary | std::ios::app;
constexpr std::ios::openmode kRead = std::ios::binary | std::ios::in;

// Why the file cannot be used in this mode. One that is not there yet needs a folder to be made in; to be
// appended to, it is made (empty), so that the answer is the system's own, while one to be read may come
// later. The made log stays: another program started with it may have appended to it already, and removing
// it would lose that line.
std::optional<std::string> UseProblem(const fs::path& file, std::ios::openmode mode) {
    std::error_code ignored;
    if (fs::exists(file, ignored)) {
        return OpenProblem(file, mode);
    }
    if (!fs::is_directory(FolderOf(file), ignored)) {
        return "there is no folder " + ShownText(Utf8OfPath(FolderOf(file)));
    }
    if (mode == kRead) {
        return std::nullopt;
    }
    return OpenProblem(file, mode);
}

std::string Refusal(const char* option, const fs::path& file, const char* cannot, const std::string& why) {
    return std::string(option) + " " + ShownText(Utf8OfPath(file)) + " " + cannot + ": " + why;
}

} // namespace

std::string CheckVirtualPedalFiles(const VirtualPedalOptions& options) {
    if (options.logFile) {
        if (const auto problem = UseProblem(*options.logFile, kAppend)) {
            return Refusal("--virtual-pedal-log", *options.logFile, "cannot be written", *problem);
        }
        if (const auto problem = options.pressFile ? UseProblem(*options.logFile, kRead) : std::nullopt) {
            return Refusal("--virtual-pedal-log", *options.logFile, "cannot be read", *problem);
        }
    }
    if (options.pressFile) {
        if (const auto problem = UseProblem(*options.pressFile, kRead)) {
            return Refusal("--virtual-pedal-press", *options.pressFile, "cannot be read", *problem);
        }
    }
    return "";
}

} // namespace treadkey
