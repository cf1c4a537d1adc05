#include "protocol/hex_byte.h"

#include "protocol/number_text.h"

#include <cmath>

namespace treadkey {

namespace {

// The rounded value modulo `modulus`, in [0, modulus). fmod is exact, so this holds for every finite double,
// far beyond the range of any integer type. A non-finite value has no low bits; it gives 0 rather than UB.
double WrapRounded(double value, double modulus) {
    if (!std::isfinite(value)) {
        return 0.0;
    }
    const double remainder = std::fmod(RoundHalfEven(value), modulus);
    return remainder < 0.0 ? remainder + modulus : remainder;
}

} // namespace

std::uint8_t LowByte(double value) {
    return static_cast<std::uint8_t>(WrapRounded(value, 256.0));
}

std::uint16_t Low16Bits(double value) {
    return static_cast<std::uint16_t>(WrapRounded(value, 65536.0));
}

std::optional<int> HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

std::string TwoDigitHex(double value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::uint8_t byte = LowByte(value);
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

} // namespace treadkey
