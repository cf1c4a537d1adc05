#include "editor/profile_file.h"

#include "arguments/shown_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fstream>
#include <string>
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

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Which wide encoding the first bytes show, if any: a byte-order mark, or (RFC 4627, section 3) the zero
// bytes around the first two characters, which are ASCII in every JSON text. Only ASCII that text holds
// counts, so that a binary file with zero bytes in it is not taken for UTF-16.
std::string_view WideEncoding(std::string_view bytes) {
    const auto zero = [bytes](std::size_t i) { return i < bytes.size() && bytes[i] == '\0'; };
    const auto text = [bytes](std::size_t i) {
        if (i >= bytes.size()) {
            return false;
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        return (byte >= 0x20 && byte < 0x7F) || byte == '\t' || byte == '\n' || byte == '\r';
    };
    // The second character's unit, where the file is long enough to hold one.
    const auto second = [bytes](std::size_t unit, bool fits) { return bytes.size() < 2 * unit || fits; };
    if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        (text(0) && zero(1) && zero(2) && zero(3) && second(4, text(4) && zero(5) && zero(6) && zero(7)))) {
        return "UTF-32 little-endian";
    }
    if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)) ||
        (zero(0) && zero(1) && zero(2) && text(3) && second(4, zero(4) && zero(5) && zero(6) && text(7)))) {
        return "UTF-32 big-endian";
    }
    if (bytes.starts_with("\xFF\xFE") || (text(0) && zero(1) && second(2, text(2) && zero(3)))) {
        return "UTF-16 little-endian";
    }
    if (bytes.starts_with("\xFE\xFF") || (zero(0) && text(1) && second(2, zero(2) && text(3)))) {
        return "UTF-16 big-endian";
    }
    return {};
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

ProfileText ProfileTextOf(std::string_view bytes) {
    if (const std::string_view encoding = WideEncoding(bytes); !encoding.empty()) {
        return {{}, "the file is " + std::string(encoding) + " text: save it as UTF-8"};
    }
    // JSON has no place for a NUL byte, and text files hold none.
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        return {{},
                "the file holds a NUL byte (byte " + std::to_string(nul + 1) +
                    "), so it is not text: a profile is "
                    "JSON text in UTF-8"};
    }
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    if (bytes.empty()) {
        return {
            {},
            "the file is empty: a profile is a JSON object such as {\"slots\": {\"1\": {\"key\": \"a\"}}}"};
    }
    return {bytes, ""};
}

} // namespace treadkey
