#include "arguments/shown_text.h"

#include "arguments/utf8_text.h"

#include <cstdint>

namespace treadkey {
namespace {

constexpr std::string_view kCutMark = "...";

std::string Escaped(unsigned char byte) {
    switch (byte) {
    case '\n':
        return "\\n";
    case '\t':
        return "\\t";
    case '\r':
        return "\\r";
    default: {
        constexpr char kHex[] = "0123456789ABCDEF";
        return {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
    }
    }
}

bool IsControl(std::uint32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

} // namespace

std::string ShownText(std::string_view text) {
    std::string shown;
    std::size_t characters = 0;
    while (!text.empty()) {
        if (characters == kMostShownCharacters) {
            return shown + std::string(kCutMark);
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = Utf8Sequence(text, codePoint);
        if (length == 0 || IsControl(codePoint)) {
            // A C1 control is shown by its code, as the terminal would have read it.
            shown += Escaped(length == 0 ? static_cast<unsigned char>(text[0])
                                         : static_cast<unsigned char>(codePoint));
            text.remove_prefix(length == 0 ? 1 : length);
        } else {
            shown += text.substr(0, length);
            text.remove_prefix(length);
        }
        ++characters;
    }
    return shown;
}

std::string DoubleQuoted(std::string_view text) {
    return "\"" + ShownText(text) + "\"";
}

std::string ShownFileName(std::string_view name) {
    return name.empty() ? "''" : ShownText(name);
}

} // namespace treadkey
