#include "protocol/number_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <system_error>

namespace treadkey {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

} // namespace

double ReadLeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t integerStart = pos;
    const std::size_t integerEnd = SkipDigits(text, integerStart);
    bool hasDigits = integerEnd > integerStart;
    std::size_t numberEnd = integerEnd;
    if (numberEnd < text.size() && text[numberEnd] == '.') {
        numberEnd = SkipDigits(text, integerEnd + 1);
        hasDigits = hasDigits || numberEnd > integerEnd + 1;
    }
    if (!hasDigits) {
        return 0.0;
    }

    double magnitude = 0.0;
    const auto result = std::from_chars(text.data() + integerStart, text.data() + numberEnd, magnitude,
                                        std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range either way: a nonzero integer part means too large, otherwise too small.
        const bool tooLarge = text.find_first_not_of('0', integerStart) < integerEnd;
        magnitude = tooLarge ? DBL_MAX : 0.0;
    }
    return negative ? -magnitude : magnitude;
}

double RoundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below; // exact: a double with a fraction lies below 2^52
    if (fraction < 0.5) {
        return below;
    }
    if (fraction > 0.5) {
        return below + 1.0;
    }
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::string ShortestDecimalText(double value) {
    // A negative zero reads as plain "0" in a log line.
    if (value == 0.0) {
        return "0";
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string PlainDecimalText(double value) {
    if (value == 0.0) {
        return "0";
    }
    // Fifteen significant digits always read back unchanged, so the shortest fixed form of the rounded value
    // shows those digits and no noise beyond them.
    char buffer[400]; // DBL_MAX has 309 digits, the smallest subnormal 324 places after the point
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    double rounded = 0.0;
    std::from_chars(buffer, result.ptr, rounded, std::chars_format::scientific);
    result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

std::optional<int> ParseWholeNumber(std::string_view text, int lowest, int highest) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt; // from_chars would take a leading minus
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

} // namespace treadkey
