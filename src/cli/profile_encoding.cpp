#include "cli/profile_encoding.h"

namespace treadkey {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Which wide encoding the first bytes show, if any: a byte-order mark, or (RFC 4627, section 3) the zero
// bytes around a first character that is ASCII, as every JSON text's is.
std::string_view WideEncoding(std::string_view bytes) {
    const auto at = [bytes](std::size_t i) { return i < bytes.size() ? bytes[i] : '\x01'; };
    const bool zero0 = at(0) == '\0';
    const bool zero1 = at(1) == '\0';
    const bool zero2 = at(2) == '\0';
    const bool zero3 = at(3) == '\0';
    if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) || (!zero0 && zero1 && zero2 && zero3)) {
        return "UTF-32 little-endian";
    }
    if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)) || (zero0 && zero1 && zero2 && !zero3)) {
        return "UTF-32 big-endian";
    }
    if (bytes.starts_with("\xFF\xFE") || (!zero0 && zero1)) {
        return "UTF-16 little-endian";
    }
    if (bytes.starts_with("\xFE\xFF") || (zero0 && !zero1)) {
        return "UTF-16 big-endian";
    }
    return {};
}

} // namespace

ProfileText ProfileTextOf(std::string_view bytes) {
    if (const std::string_view encoding = WideEncoding(bytes); !encoding.empty()) {
        return {{}, "the file is " + std::string(encoding) + " text: save it as UTF-8"};
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
