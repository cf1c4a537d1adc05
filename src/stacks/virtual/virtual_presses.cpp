#include "stacks/virtual/virtual_presses.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace treadkey {
namespace {

constexpr std::size_t kKeyboardReportLength = 8; // modifiers, reserved, six keys
constexpr std::size_t kMouseReportLength = 3;    // buttons, X, Y

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<std::vector<std::uint8_t>> HexBytes(std::string_view line) {
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (line[pos] == ' ') {
            ++pos;
            continue;
        }
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(line.data() + pos, line.data() + std::min(pos + 2, line.size()), value, 16);
        if (error != std::errc{} || end != line.data() + std::min(pos + 2, line.size())) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
        pos += 2;
    }
    return bytes;
}

} // namespace

std::optional<SlotPress> PressOfSlot(const MemoryWord& word) {
    const auto [first, second, third, fourth] = word.data;
    if (word.writer == WordWriter::MouseCommand && second != 0) {
        std::vector<std::uint8_t> down(kMouseReportLength, 0);
        down[0] = second;
        return SlotPress{true, {down, std::vector<std::uint8_t>(kMouseReportLength, 0)}};
    }
    // A key slot holds the modifier byte and the key code.
    const bool cleared =
        first == kClearedByte && second == kClearedByte && third == kClearedByte && fourth == kClearedByte;
    if (word.writer != WordWriter::KeyCommand || cleared || (first == 0 && second == 0)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> down(kKeyboardReportLength, 0);
    down[0] = first;
    down[2] = second;
    return SlotPress{false, {down, std::vector<std::uint8_t>(kKeyboardReportLength, 0)}};
}

PedalMemory MemoryFromLog(const std::filesystem::path& log) {
    PedalMemory memory;
    std::ifstream file(log);
    std::string line;
    while (std::getline(file, line)) {
        // Reports to the keyboard or the mouse are logged behind their path and a colon.
        if (line.find(':') != std::string::npos) {
            continue;
        }
        if (const std::optional<std::vector<std::uint8_t>> report = HexBytes(Trimmed(line))) {
            memory.decode(*report);
        }
    }
    return memory;
}

PressFile::PressFile(std::filesystem::path path) : path_(std::move(path)) {
    std::error_code missing;
    const std::uintmax_t size = std::filesystem::file_size(path_, missing);
    consumed_ = missing ? 0 : size;
}

std::vector<int> PressFile::TakeSlots() {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path_, error);
    if (error) {
        return {};
    }
    if (size == consumed_) {
        return {}; // nothing new: the usual case, checked on every read
    }
    if (size < consumed_) {
        consumed_ = 0;
    }
    std::ifstream file(path_, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(consumed_));
    const std::string appended((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<int> slots;
    std::size_t lineStart = 0;
    for (std::size_t end = appended.find('\n'); end != std::string::npos;
         end = appended.find('\n', lineStart)) {
        const std::string_view line = Trimmed(std::string_view(appended).substr(lineStart, end - lineStart));
        int slot = 0;
        const auto [last, parseError] = std::from_chars(line.data(), line.data() + line.size(), slot);
        if (parseError == std::errc{} && last == line.data() + line.size() && slot >= 1 &&
            slot <= kSlotCount) {
            slots.push_back(slot);
        }
        lineStart = end + 1;
    }
    consumed_ += lineStart; // a line still being written waits for its line break
    return slots;
}

} // namespace treadkey
