#include "protocol/pedal_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace treadkey {

void PrintTo(const MemoryWord& word, std::ostream* out) {
    *out << std::hex << int{word.data[0]} << ' ' << int{word.data[1]} << ' ' << int{word.data[2]} << ' '
         << int{word.data[3]} << " by " << static_cast<int>(word.writer);
}

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<MemoryWord> AllWords(const PedalMemory& memory) {
    std::vector<MemoryWord> words;
    for (int address = 0; address <= kLastAddress; address += 4) {
        words.push_back(memory.wordAt(address).value());
    }
    return words;
}

TEST(PedalMemory, StartsUnwrittenWithZeroBytes) {
    const PedalMemory memory;
    const std::vector<MemoryWord> words = AllWords(memory);
    EXPECT_EQ(words.size(), std::size_t{kWordCount});
    for (const MemoryWord& word : words) {
        EXPECT_EQ(word, (MemoryWord{{0x00, 0x00, 0x00, 0x00}, WordWriter::None}));
    }
    EXPECT_EQ(memory.ignoredFrameCount(), 0);
}

struct AppliedFrame {
    std::string name;
    Bytes report;
    int address;
    MemoryWord word;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const AppliedFrame& tested, std::ostream* out) { *out << tested.name; }
};

class PedalMemoryApplies : public ::testing::TestWithParam<AppliedFrame> {};

TEST_P(PedalMemoryApplies, StoresTheDataAtTheAddressAndNowhereElse) {
    const AppliedFrame& frame = GetParam();
    PedalMemory memory;
    EXPECT_TRUE(memory.decode(frame.report));

    std::vector<MemoryWord> expected(kWordCount);
    expected[static_cast<std::size_t>(frame.address / 4)] = frame.word;
    EXPECT_EQ(AllWords(memory), expected);
    EXPECT_EQ(memory.ignoredFrameCount(), 0);
}

constexpr WordWriter kKey = WordWriter::KeyCommand;
constexpr WordWriter kMouse = WordWriter::MouseCommand;

INSTANTIATE_TEST_SUITE_P(Frames, PedalMemoryApplies,
                         ::testing::Values(AppliedFrame{"KeyEntry",
                                                        {0x00, 0xAA, 0x01, 0x08, 0x03, 0x04, 0x00, 0x00},
                                                        0x08,
                                                        {{0x03, 0x04, 0x00, 0x00}, kKey}},
                                           AppliedFrame{"MouseEntry",
                                                        {0x00, 0xAA, 0x02, 0x04, 0xFE, 0x02, 0x00, 0x00},
                                                        0x04,
                                                        {{0xFE, 0x02, 0x00, 0x00}, kMouse}},
                                           AppliedFrame{"ClearFirstSlot",
                                                        {0x00, 0xAA, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
                                                        0x00,
                                                        {{0xFF, 0xFF, 0xFF, 0xFF}, kKey}},
                                           AppliedFrame{"ClearLastAddress",
                                                        {0x00, 0xAA, 0x01, 0x7C, 0xFF, 0xFF, 0xFF, 0xFF},
                                                        0x7C,
                                                        {{0xFF, 0xFF, 0xFF, 0xFF}, kKey}},
                                           AppliedFrame{"PlaybackWord",
                                                        {0x00, 0xAA, 0x01, 0x7C, 0x79, 0x01, 0x00, 0x00},
                                                        0x7C,
                                                        {{0x79, 0x01, 0x00, 0x00}, kKey}},
                                           AppliedFrame{"KeyDelayWord",
                                                        {0x00, 0xAA, 0x01, 0x7C, 0x79, 0x01, 0x01, 0x2C},
                                                        0x7C,
                                                        {{0x79, 0x01, 0x01, 0x2C}, kKey}},
                                           AppliedFrame{"SingleOutputWord",
                                                        {0x00, 0xAA, 0x01, 0x78, 0x79, 0x01, 0x01, 0x00},
                                                        0x78,
                                                        {{0x79, 0x01, 0x01, 0x00}, kKey}},
                                           // A 9-byte report: the byte after the frame is padding.
                                           AppliedFrame{
                                               "PaddedReport",
                                               {0x00, 0xAA, 0x01, 0x2C, 0x05, 0x06, 0x07, 0x08, 0x55},
                                               0x2C,
                                               {{0x05, 0x06, 0x07, 0x08}, kKey}}),
                         [](const auto& tested) { return tested.param.name; });

struct IgnoredFrame {
    std::string name;
    Bytes report;

    friend void PrintTo(const IgnoredFrame& tested, std::ostream* out) { *out << tested.name; }
};

class PedalMemoryIgnores : public ::testing::TestWithParam<IgnoredFrame> {};

TEST_P(PedalMemoryIgnores, ChangesNothingAndCountsIt) {
    PedalMemory memory;
    ASSERT_TRUE(memory.decode(Bytes{0x00, 0xAA, 0x01, 0x08, 0x03, 0x04, 0x00, 0x00}));
    const std::vector<MemoryWord> before = AllWords(memory);

    EXPECT_FALSE(memory.decode(GetParam().report));
    EXPECT_EQ(AllWords(memory), before);
    EXPECT_EQ(memory.ignoredFrameCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, PedalMemoryIgnores,
    ::testing::Values(IgnoredFrame{"Empty", {}}, IgnoredFrame{"ReportIdOnly", {0x00}},
                      IgnoredFrame{"OneByteShort", {0x00, 0xAA, 0x01, 0x08, 0x09, 0x09, 0x09}},
                      IgnoredFrame{"OtherLead", {0x00, 0xAB, 0x01, 0x08, 0x09, 0x09, 0x09, 0x09}},
                      IgnoredFrame{"ReportIdOne", {0x01, 0xAA, 0x01, 0x08, 0x09, 0x09, 0x09, 0x09}},
                      IgnoredFrame{"CommandZero", {0x00, 0xAA, 0x00, 0x08, 0x09, 0x09, 0x09, 0x09}},
                      IgnoredFrame{"CommandThree", {0x00, 0xAA, 0x03, 0x08, 0x09, 0x09, 0x09, 0x09}},
                      IgnoredFrame{"UnalignedAddress", {0x00, 0xAA, 0x01, 0x09, 0x09, 0x09, 0x09, 0x09}},
                      IgnoredFrame{"AddressPastTheEnd", {0x00, 0xAA, 0x02, 0x80, 0x09, 0x09, 0x09, 0x09}},
                      IgnoredFrame{"AddressFar", {0x00, 0xAA, 0x01, 0xFC, 0x09, 0x09, 0x09, 0x09}}),
    [](const auto& tested) { return tested.param.name; });

TEST(PedalMemory, LaterFrameReplacesWordAndWriter) {
    PedalMemory memory;
    ASSERT_TRUE(memory.decode(Bytes{0x00, 0xAA, 0x02, 0x04, 0xFE, 0x02, 0x00, 0x00}));
    ASSERT_TRUE(memory.decode(Bytes{0x00, 0xAA, 0x01, 0x04, 0x03, 0x1D, 0x00, 0x00}));
    EXPECT_EQ(memory.wordAt(0x04), (MemoryWord{{0x03, 0x1D, 0x00, 0x00}, kKey}));
}

TEST(PedalMemory, ClearFramesForEveryCounterFillAllWords) {
    PedalMemory memory;
    for (int counter = 0; counter < kWordCount; ++counter) {
        const auto address = static_cast<std::uint8_t>(counter * 4);
        ASSERT_TRUE(memory.decode(Bytes{0x00, 0xAA, 0x01, address, 0xFF, 0xFF, 0xFF, 0xFF})) << counter;
    }
    EXPECT_EQ(AllWords(memory),
              std::vector<MemoryWord>(kWordCount, MemoryWord{{0xFF, 0xFF, 0xFF, 0xFF}, kKey}));
}

TEST(PedalMemory, SlotsMapToTheirAddresses) {
    PedalMemory memory;
    ASSERT_TRUE(memory.decode(Bytes{0x00, 0xAA, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00}));
    ASSERT_TRUE(memory.decode(Bytes{0x00, 0xAA, 0x02, 0x2C, 0x0C, 0x00, 0x00, 0x00}));
    EXPECT_EQ(memory.slot(1), (MemoryWord{{0x01, 0x00, 0x00, 0x00}, kKey}));
    EXPECT_EQ(memory.slot(12), (MemoryWord{{0x0C, 0x00, 0x00, 0x00}, kMouse}));
    EXPECT_EQ(memory.slot(2), MemoryWord{});
}

// A cleared word 0x7C holds none of the states the frames write; what they write is read back whole by the
// profile table of the command tests.
TEST(PedalMemory, AClearedPlaybackWordHoldsNoState) {
    PedalMemory memory;
    ASSERT_TRUE(memory.decode(Bytes{0x00, 0xAA, 0x01, 0x7C, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(memory.playbackWord(), std::nullopt);
}

TEST(PedalMemory, NoWordOutsideTheMap) {
    const PedalMemory memory;
    for (const int address : {-4, 0x01, 0x7E, 0x80, 0xFC}) {
        EXPECT_FALSE(memory.wordAt(address).has_value()) << address;
    }
    for (const int slot : {0, 13, -1}) {
        EXPECT_FALSE(memory.slot(slot).has_value()) << slot;
    }
}

} // namespace
} // namespace treadkey
