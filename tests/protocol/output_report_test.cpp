#include "protocol/output_report.h"

#include <gtest/gtest.h>

#include <string>

namespace treadkey {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WithZerosTo(Bytes bytes, std::size_t length) {
    bytes.resize(length, 0);
    return bytes;
}

TEST(BuildOutputReport, PairsDigitsAfterReportIdZero) {
    const struct {
        const char* text;
        int length;
        Bytes report;
    } cases[] = {
        {"AA 01 7C 79 01 00 00", 8, {0x00, 0xAA, 0x01, 0x7C, 0x79, 0x01, 0x00, 0x00}},
        {"AA 01 7C 79 01 00 00", 65, WithZerosTo({0x00, 0xAA, 0x01, 0x7C, 0x79, 0x01, 0x00, 0x00}, 65)},
        {"AA 01 7C 79 01 00 00", 5, {0x00, 0xAA, 0x01, 0x7C, 0x79}},
        {"", 8, Bytes(8, 0)},
        {"aa 00 ff ff ff ff", 8, {0x00, 0xAA, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}},
        {"A A 0 1", 3, {0x00, 0xAA, 0x01}},
        {"aA0f", 1, {0x00}},
        // Odd digit counts: the zero filling is counted from the rounded pair count.
        {"AA 1", 8, {0x00, 0xAA, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"AA010203040506F", 9, {0x00, 0xAA, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x0F}},
        {"AA010203040506F", 10, {0x00, 0xAA, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xF0, 0x00}},
        {"AA0102030405F", 8, {0x00, 0xAA, 0x01, 0x02, 0x03, 0x04, 0x05, 0xF0}},
        {"AA0102030405F", 7, {0x00, 0xAA, 0x01, 0x02, 0x03, 0x04, 0x05}},
        {"7", 3, {0x00, 0x70, 0x00}},
        // A slice counts by its leading hex digits; a multi-byte character takes one position.
        {"AG GA -1", 4, {0x00, 0x0A, 0x00, 0x00}},
        {"A键B", 3, {0x00, 0x0A, 0x0B}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildOutputReport(c.text, c.length), c.report) << '"' << c.text << "\" L=" << c.length;
    }
}

TEST(BuildOutputReport, GivesNothingBelowLengthOne) {
    EXPECT_TRUE(BuildOutputReport("AA 01", 0).empty());
    EXPECT_TRUE(BuildOutputReport("AA 01", -3).empty());
}

TEST(BuildOutputReport, EvenDigitCountsArePairsThenZerosForEveryLength) {
    for (int pairs = 0; pairs <= 12; ++pairs) {
        std::string text;
        for (int i = 0; i < pairs; ++i) {
            text += "C" + std::to_string(i % 10) + " ";
        }
        for (int length : {1, 2, 7, 13, 14, 65535}) {
            const Bytes report = BuildOutputReport(text, length);
            ASSERT_EQ(report.size(), static_cast<std::size_t>(length));
            EXPECT_EQ(report[0], 0);
            for (int i = 1; i < length; ++i) {
                const int expected = i <= pairs ? 0xC0 + (i - 1) % 10 : 0;
                ASSERT_EQ(report[i], expected) << "pairs=" << pairs << " length=" << length << " byte " << i;
            }
        }
    }
}

} // namespace
} // namespace treadkey
