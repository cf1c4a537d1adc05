#include "protocol/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <optional>
#include <string>

namespace treadkey {
namespace {

TEST(ReadLeadingNumber, ReadsSignDigitsAndFractionAfterBlanks) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12abc", 12}, {"", 0},        {"0.4", 0.4}, {"+.5", 0.5},     {"-.5", -0.5},   {" \t-3.25x", -3.25},
        {"5.", 5},     {"1.2.3", 1.2}, {"1 2", 1},   {"70000", 70000}, {"-", 0},        {".", 0},
        {"+-1", 0},    {"abc", 0},     {"inf", 0},   {"1e9", 1},       {"1e999999", 1}, {"0x1F", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLeadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ReadLeadingNumber, SaturatesOrVanishesBeyondTheRangeOfDouble) {
    const std::string manyNines(400, '9');
    EXPECT_EQ(ReadLeadingNumber(manyNines), DBL_MAX);
    EXPECT_EQ(ReadLeadingNumber("-" + manyNines + ".5"), -DBL_MAX);
    EXPECT_EQ(ReadLeadingNumber("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(ReadLeadingNumber(std::string(400, '0') + "7"), 7.0);
}

TEST(RoundHalfEven, SendsHalvesToTheEvenNeighbour) {
    const struct {
        double value;
        double rounded;
    } cases[] = {
        {12.5, 12},
        {13.5, 14},
        {-12.5, -12},
        {-13.5, -14},
        {-0.6, -1},
        {0.49999999999999994, 0},
        {4503599627370497.0, 4503599627370497.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
    }
}

TEST(ShortestDecimalText, WritesTheShortestRoundTripForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {3, "3"},   {0, "0"},        {-0.0, "0"},      {2.5, "2.5"},
        {-3, "-3"}, {1e20, "1e+20"}, {65535, "65535"}, {0.1, "0.1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortestDecimalText(c.value), c.text) << c.value;
    }
}

TEST(ParseWholeNumber, DecimalDigitsOnlyInsideTheRange) {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"1", 1},    {"12", 12},  {"012", 12}, {"0", {}},  {"13", {}},
        {"", {}},    {"-1", {}},  {"+1", {}},  {" 1", {}}, {"1 ", {}},
        {"1.0", {}}, {"1e1", {}}, {"0x1", {}}, {"１", {}}, {"99999999999999999999", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseWholeNumber(c.text, 1, 12), c.value) << '"' << c.text << '"';
    }
    EXPECT_EQ(ParseWholeNumber("65535", 0, 65535), 65535);
    EXPECT_EQ(ParseWholeNumber("65536", 0, 65535), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("0", 0, 65535), 0);
}

} // namespace
} // namespace treadkey
