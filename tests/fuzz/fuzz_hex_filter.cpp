#include "fuzz/fuzz_check.h"
#include "protocol/hex_filter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using treadkey::fuzz::Require;

constexpr std::u32string_view kAllowed = U"0123456789abcdefABCDEF ";

bool Allowed(char32_t c) {
    return kAllowed.find(c) != std::u32string_view::npos;
}

// Bytes to characters, biased towards text a user could type but reaching every 32-bit value: a byte below
// 0x80 is that ASCII character, 0x80..0xFE starts a three-byte value up to 0x7EFFFF (beyond Unicode
// included), 0xFF takes the next four bytes as they are.
std::u32string Decode(const std::uint8_t* data, std::size_t size) {
    std::u32string text;
    std::size_t i = 0;
    const auto next = [&]() -> char32_t { return i < size ? data[i++] : 0; };
    while (i < size) {
        const std::uint8_t lead = data[i++];
        if (lead < 0x80) {
            text += static_cast<char32_t>(lead);
        } else if (lead < 0xFF) {
            const char32_t high = static_cast<char32_t>(lead - 0x80) << 16;
            const char32_t middle = next() << 8;
            text += high | middle | next();
        } else {
            char32_t value = 0;
            for (int b = 0; b < 4; ++b) {
                value |= next() << (8 * b);
            }
            text += value;
        }
    }
    return text;
}

std::u32string Without(std::u32string text, char32_t removed) {
    text.erase(std::remove(text.begin(), text.end(), removed), text.end());
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u32string input = Decode(data, size);

    std::u32string expectedClean;
    std::vector<char32_t> expectedReports; // distinct invalid characters in order of first appearance
    for (const char32_t c : input) {
        Require(treadkey::IsCommandTextCharacter(c) == Allowed(c), "exactly the 23 characters are allowed");
        if (Allowed(c)) {
            expectedClean += c;
        } else if (std::find(expectedReports.begin(), expectedReports.end(), c) == expectedReports.end()) {
            expectedReports.push_back(c);
        }
    }

    std::u32string text = input;
    std::vector<char32_t> reported;
    while (std::optional<treadkey::HexFilterStep> step = treadkey::NextHexFilterStep(text)) {
        Require(reported.size() < expectedReports.size(), "no more steps than distinct invalid characters");
        Require(!Allowed(step->reported), "a step reports a character that is not allowed");
        Require(std::find(reported.begin(), reported.end(), step->reported) == reported.end(),
                "each step reports a character not seen before");
        Require(text.find(step->reported) != std::u32string::npos, "the reported character was in the text");
        Require(step->remaining == Without(text, step->reported),
                "a step removes every occurrence of its character and nothing else");
        reported.push_back(step->reported);
        text = std::move(step->remaining);
    }
    Require(std::all_of(text.begin(), text.end(), Allowed),
            "the filtered text holds only allowed characters");
    Require(text == expectedClean, "every allowed character of the input survives, in order");
    Require(reported == expectedReports, "every distinct invalid character is reported once, in order");
    return 0;
}
