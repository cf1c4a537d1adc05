#include "protocol/output_report.h"

#include "protocol/hex_byte.h"

#include <cstddef>

namespace treadkey {

namespace {

constexpr int kNotHexDigit = -1;

bool IsUtf8Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The digit string: one entry per character of the text, spaces left out. A multi-byte UTF-8 character takes
// one position, so the pairing follows the characters as typed rather than their encoded length.
std::vector<int> DigitValues(std::string_view text) {
    std::vector<int> values;
    values.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte != ' ' && !IsUtf8Continuation(byte)) {
            values.push_back(HexDigitValue(c).value_or(kNotHexDigit));
        }
    }
    return values;
}

// Half the digit count, a half going to the even neighbour: 13 digits make 6 bytes, 15 make 8.
std::size_t PairCount(std::size_t digitCount) {
    const std::size_t half = digitCount / 2;
    const bool roundUp = digitCount % 2 == 1 && half % 2 == 1;
    return roundUp ? half + 1 : half;
}

// A slice counts by its leading hex digits: "AG" is 0x0A, "GA" is 0, a lone "F" is 0x0F.
std::uint8_t SliceValue(int high, int low) {
    if (high == kNotHexDigit) {
        return 0;
    }
    if (low == kNotHexDigit) {
        return static_cast<std::uint8_t>(high);
    }
    return static_cast<std::uint8_t>(high * 16 + low);
}

} // namespace

std::vector<std::uint8_t> BuildOutputReport(std::string_view text, int length) {
    if (length < 1) {
        return {};
    }
    const auto commandBytes = static_cast<std::size_t>(length) - 1;
    std::vector<int> digits = DigitValues(text);
    // The zero filling is counted from the rounded pair count, not from the digit count; with an odd count
    // this decides whether the lone last digit becomes a high or a low digit.
    const std::size_t pairs = PairCount(digits.size());
    if (pairs < commandBytes) {
        digits.resize(digits.size() + 2 * (commandBytes - pairs), 0);
    }

    // Every slice holds at least one digit: the filling leaves the digit string at least 2 * commandBytes - 1
    // long, and so does the rounding up of an odd count when nothing is filled.
    std::vector<std::uint8_t> report(static_cast<std::size_t>(length), 0);
    for (std::size_t i = 0; i < commandBytes; ++i) {
        const std::size_t at = 2 * i;
        const int low = at + 1 < digits.size() ? digits[at + 1] : kNotHexDigit;
        report[i + 1] = SliceValue(digits[at], low);
    }
    return report;
}

} // namespace treadkey
