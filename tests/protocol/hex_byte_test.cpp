#include "protocol/hex_byte.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <optional>
#include <utility>

namespace treadkey {
namespace {

TEST(TwoDigitHex, GivesTheRoundedLowByteInUpperCase) {
    const struct {
        double value;
        const char* hex;
    } cases[] = {
        {58, "3A"},    {255, "FF"},          {256, "00"},
        {-1, "FF"},    {-4, "FC"},           {2.5, "02"},
        {-2.5, "FE"},  {4294967297.0, "01"}, {-4294967297.0, "FF"},
        {1e300, "00"}, {-DBL_MAX, "00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TwoDigitHex(c.value), c.hex) << c.value;
    }
}

TEST(Low16Bits, GivesTheTwosComplementPattern) {
    const struct {
        double value;
        std::uint16_t bits;
    } cases[] = {
        {65536, 0}, {-32768, 0x8000}, {-40000, 0x63C0}, {1e9 + 1, 0xCA01}, {12.5, 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Low16Bits(c.value), c.bits) << c.value;
    }
}

TEST(LowByte, GivesZeroForValuesWithoutLowBits) {
    EXPECT_EQ(LowByte(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(LowByte(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(HexDigitValue, BothCasesAndNothingAroundTheDigitRanges) {
    const std::pair<char, std::optional<int>> cases[] = {
        {'0', 0},
        {'9', 9},
        {'a', 10},
        {'f', 15},
        {'A', 10},
        {'F', 15},
        {'/', {}},
        {':', {}},
        {'@', {}},
        {'G', {}},
        {'`', {}},
        {'g', {}},
        {' ', {}},
        {'x', {}},
        {'\0', {}},
        {static_cast<char>(0xC1), {}},
        {static_cast<char>(0xFF), {}},
    };
    for (const auto& [c, value] : cases) {
        EXPECT_EQ(HexDigitValue(c), value) << int{static_cast<unsigned char>(c)};
    }
}

} // namespace
} // namespace treadkey
