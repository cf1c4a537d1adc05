#include "fuzz/fuzz_check.h"
#include "protocol/hex_byte.h"
#include "protocol/number_text.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

// The whole input is read as a slot or delay text; its first eight bytes, taken as a double, also feed the
// rounding and byte rules directly, so that subnormals and values near the double range are reached.

namespace {

using treadkey::fuzz::Require;

// The low `bits` bits (at most 16) of an integral double, two's complement for negatives, worked out from the
// double's integer mantissa and binary exponent rather than by floating-point remainders.
unsigned LowBitsModel(double integral, int bits) {
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(integral), &exponent); // |integral| = fraction * 2^exponent
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = exponent - 53;
    std::uint64_t magnitude = 0;
    if (shift >= bits) {
        magnitude = 0;
    } else if (shift >= 0) {
        magnitude = mantissa << shift;
    } else {
        magnitude = mantissa >> -shift; // exact: the value is an integer
    }
    const std::uint64_t wrapped = integral < 0 ? 0 - magnitude : magnitude;
    return static_cast<unsigned>(wrapped & ((std::uint64_t{1} << bits) - 1));
}

int HexDigitValue(char c) {
    constexpr std::string_view kUpper = "0123456789ABCDEF";
    const std::size_t at = kUpper.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

void CheckRoundingAndBytes(double value) {
    const double rounded = treadkey::RoundHalfEven(value);
    Require(std::isfinite(rounded), "rounding keeps a finite value finite");
    Require(std::floor(rounded) == rounded, "rounding gives an integer");
    Require(std::fabs(rounded - value) <= 0.5, "rounding moves by 0.5 at the most");
    // The default floating-point environment rounds to nearest, ties to even.
    Require(rounded == std::nearbyint(value), "rounding agrees with nearbyint");

    const std::uint8_t low = treadkey::LowByte(value);
    Require(low == LowBitsModel(rounded, 8), "LowByte is the rounded value modulo 256");
    Require(treadkey::Low16Bits(value) == LowBitsModel(rounded, 16),
            "Low16Bits is the rounded value mod 65536");

    const std::string hex = treadkey::TwoDigitHex(value);
    Require(hex.size() == 2, "TwoDigitHex gives two characters");
    const int high = HexDigitValue(hex[0]);
    const int lowDigit = HexDigitValue(hex[1]);
    Require(high >= 0 && lowDigit >= 0, "TwoDigitHex gives upper-case hex digits");
    Require(high * 16 + lowDigit == low, "TwoDigitHex spells LowByte");

    const std::string decimal = treadkey::ShortestDecimalText(value);
    Require(std::strtod(decimal.c_str(), nullptr) == value, "the decimal text reads back as the same number");

    const std::string plain = treadkey::PlainDecimalText(value);
    Require(plain.find_first_of("eE") == std::string::npos, "the plain decimal text has no exponent");
}

// strtod reads the same number as the slot box when the text holds nothing it would read further: no
// exponent, no hex prefix, no inf or nan.
void CheckAgainstStrtod(const std::string& text, double reading) {
    if (text.find_first_of("eExXiInN") != std::string::npos) {
        return;
    }
    const double expected = std::strtod(text.c_str(), nullptr);
    if (std::isinf(expected)) {
        Require(reading == std::copysign(DBL_MAX, expected), "a number beyond the double range saturates");
    } else if (std::fabs(expected) < DBL_MIN) {
        // Below the normal range the two readers may differ in whether they keep a subnormal.
        Require(std::fabs(reading) < DBL_MIN, "a tiny number reads as tiny");
    } else {
        Require(reading == expected, "the leading number agrees with strtod");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double reading = treadkey::ReadLeadingNumber(text);
    Require(std::isfinite(reading), "the leading number is finite");
    CheckAgainstStrtod(text, reading);
    CheckRoundingAndBytes(reading);

    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw)) {
            CheckRoundingAndBytes(raw);
        }
    }
    return 0;
}
