#include "app/form/utf32_text.h"

#include "arguments/utf8_text.h"

namespace treadkey {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The length of the character that starts with lead, and the bits the lead byte carries; 0 for a byte that
// starts none.
std::size_t SequenceLength(unsigned char lead, char32_t& bits) {
    if (lead < 0x80) {
        bits = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead < 0xE0) {
        bits = lead & 0x1Fu;
        return 2;
    }
    if (lead >= 0xE0 && lead < 0xF0) {
        bits = lead & 0x0Fu;
        return 3;
    }
    if (lead >= 0xF0 && lead < 0xF5) {
        bits = lead & 0x07u;
        return 4;
    }
    return 0;
}

} // namespace

std::u32string Utf32Of(std::string_view utf8) {
    std::u32string text;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = SequenceLength(static_cast<unsigned char>(utf8[i]), c);
        std::size_t taken = length == 0 ? 0 : 1;
        while (taken > 0 && taken < length && i + taken < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + taken]) & 0xC0u) == 0x80u) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + taken]) & 0x3Fu);
            ++taken;
        }
        // Overlong forms, surrogates and values past U+10FFFF are no characters either.
        const bool whole = length > 0 && taken == length;
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!whole || c < least[length] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) {
            text.push_back(kReplacement);
            i += taken == 0 ? 1 : taken;
            continue;
        }
        text.push_back(c);
        i += length;
    }
    return text;
}

std::string Utf8Of(std::u32string_view text) {
    std::string utf8;
    for (char32_t c : text) {
        if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        AppendUtf8(utf8, c);
    }
    return utf8;
}

std::u32string Utf32OfUtf16(std::u16string_view utf16) {
    const auto high = [](char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; };
    const auto low = [](char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; };
    std::u32string text;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (high(unit) && i + 1 < utf16.size() && low(utf16[i + 1])) {
            text.push_back(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(utf16[i + 1]) - 0xDC00));
            ++i;
        } else if (high(unit) || low(unit)) {
            text.push_back(kReplacement);
        } else {
            text.push_back(unit);
        }
    }
    return text;
}

std::u16string Utf16Of(std::u32string_view text) {
    std::u16string utf16;
    for (char32_t c : text) {
        if ((c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) {
            c = kReplacement;
        }
        if (c < 0x10000) {
            utf16.push_back(static_cast<char16_t>(c));
        } else {
            utf16.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            utf16.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return utf16;
}

} // namespace treadkey
