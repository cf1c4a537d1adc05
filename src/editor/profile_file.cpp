#include "editor/profile_file.h"

#include "arguments/shown_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fstream>
#include <system_error>
#include <vector>

namespace treadkey {
namespace {

constexpr std::size_t kPieceBytes = 64 * 1024;

// Reads the stream into bytes up to the bound; returns why it stopped short, or "". The stream reports a
// failed read by an exception, which carries the system's reason where an early end would not.
std::string ReadBounded(std::istream& stream, const std::string& shownName, std::string& bytes) {
    const std::ios::iostate mask = stream.exceptions();
    stream.exceptions(std::ios::badbit);
    std::string fault;
    std::vector<char> piece(kPieceBytes);
    try {
        while (stream) {
            stream.read(piece.data(), static_cast<std::streamsize>(piece.size()));
            bytes.append(piece.data(), static_cast<std::size_t>(stream.gcount()));
            if (bytes.size() > kMostProfileBytes) {
                fault = shownName + ": larger than " + std::to_string(kMostProfileBytes / (1024 * 1024)) +
                        " MiB, far more than any profile holds";
                break;
            }
        }
    } catch (const std::system_error& error) {
        fault = "cannot read " + shownName + ": " + error.code().message();
    }
    stream.clear();
    stream.exceptions(mask);
    return fault;
}

} // namespace

ProfileBytes ReadProfileBytes(const std::string& path, std::istream& standardInput) {
    ProfileBytes read;
    if (path == kStandardInputPath) {
        read.fault = ReadBounded(standardInput, "standard input", read.bytes);
        return read;
    }
    const std::string shownName = ShownFileName(path);
    // A folder opens as a stream that reads as empty on Linux and is refused as unreadable on Windows: name
    // it for what it is on both.
    std::error_code notADirectory;
    if (std::filesystem::is_directory(path, notADirectory)) {
        read.fault = "cannot read " + shownName + ": " + std::strerror(EISDIR);
        return read;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        read.fault = "cannot read " + shownName + ": " + std::strerror(errno);
        return read;
    }
    read.fault = ReadBounded(file, shownName, read.bytes);
    return read;
}

} // namespace treadkey
