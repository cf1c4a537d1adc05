#include "arguments/shown_text.h"

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

// The length of the well-formed UTF-8 sequence at the start of text and its code point; 0 when the bytes
// there are not UTF-8 (a stray continuation, an overlong form, a surrogate, a sequence cut short).
std::size_t Utf8Sequence(std::string_view text, std::uint32_t& codePoint) {
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < lowest || codePoint > 0x10FFFF || surrogate ? 0 : length;
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
