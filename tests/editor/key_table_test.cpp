#include "editor/key_table.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace treadkey {
namespace {

struct KeyCase {
    int index;
    const char* caption;
    const char* code;
    KeyContainer container;
};

class KeyTableRows : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTableRows, HoldsCaptionCodeAndContainer) {
    const KeyCase& expected = GetParam();
    const KeyEntry& key = KeyTable()[static_cast<std::size_t>(expected.index)];
    EXPECT_EQ(key.index, expected.index);
    EXPECT_EQ(key.caption, expected.caption);
    EXPECT_EQ(key.code, expected.code);
    EXPECT_EQ(key.container, expected.container);
}

// The keys people get wrong: hidden twins, the backslash's non-US code, the keypad's repeated captions.
INSTANTIATE_TEST_SUITE_P(
    Samples, KeyTableRows,
    ::testing::Values(
        KeyCase{0, "F1", "58", KeyContainer::Frame1}, KeyCase{11, "F12", "69", KeyContainer::Frame1},
        KeyCase{21, "numlock", "83", KeyContainer::Window}, KeyCase{27, "\\", "50", KeyContainer::Frame1},
        KeyCase{31, "menu", "101", KeyContainer::Frame1}, KeyCase{32, "\u2191", "82", KeyContainer::Frame1},
        KeyCase{40, "0", "39", KeyContainer::Frame1}, KeyCase{41, "1", "30", KeyContainer::Frame1},
        KeyCase{50, "A", "4", KeyContainer::Frame1}, KeyCase{75, "Z", "29", KeyContainer::Frame1},
        KeyCase{76, " ", "44", KeyContainer::Frame1}, KeyCase{79, "enter", "", KeyContainer::Window},
        KeyCase{80, "Enter", "40", KeyContainer::Frame1},
        KeyCase{81, "Num  Lock", "83", KeyContainer::Frame1}, KeyCase{82, "/", "84", KeyContainer::Frame1},
        KeyCase{95, "Enter", "88", KeyContainer::Frame1}, KeyCase{96, "0", "98", KeyContainer::Frame1},
        KeyCase{97, "./Del", "99", KeyContainer::Frame1}));

TEST(KeyTable, IndicesRunWithoutGapsAndOnlyTheNumLockTwinsShareACode) {
    std::set<std::string_view> codes;
    for (std::size_t i = 0; i < KeyTable().size(); ++i) {
        const KeyEntry& key = KeyTable()[i];
        EXPECT_EQ(key.index, static_cast<int>(i));
        if (!key.code.empty()) {
            codes.insert(key.code);
        }
    }
    // 97 coded keys, two of which (21 and 81) carry Num Lock's 83.
    EXPECT_EQ(codes.size(), 96u);
}

TEST(KeyTable, KeypadKeysDifferFromTheirMainKeyboardTwins) {
    const auto codeOf = [](int index) { return KeyTable()[static_cast<std::size_t>(index)].code; };
    EXPECT_NE(codeOf(28), codeOf(82)); // "/"
    EXPECT_NE(codeOf(16), codeOf(84)); // "-"
    EXPECT_NE(codeOf(80), codeOf(95)); // "Enter"
    for (int digit = 1; digit <= 9; ++digit) {
        EXPECT_EQ(KeyTable()[static_cast<std::size_t>(40 + digit)].caption, std::to_string(digit));
    }
}

TEST(KeyTable, PlacesAreInTwipsInsideTheirContainer) {
    const KeyEntry& space = KeyTable()[76];
    EXPECT_EQ(space.place.left, 3120);
    EXPECT_EQ(space.place.top, 3240);
    EXPECT_EQ(space.place.width, 2535);
    EXPECT_EQ(space.place.height, 495);
    for (const KeyEntry& key : KeyTable()) {
        if (key.container == KeyContainer::Frame1) {
            EXPECT_LE(key.place.left + key.place.width, 15735) << key.index;
            EXPECT_LE(key.place.top + key.place.height, 3855) << key.index;
        }
    }
}

TEST(KeyCodeTable, IsEmptyUntilFilledAndKeepsItsBounds) {
    KeyCodeTable codes;
    EXPECT_EQ(codes.At(50), "");
    codes.Fill();
    const struct {
        int index;
        std::optional<std::string_view> code;
    } cases[] = {{0, "58"},
                 {50, "4"},
                 {79, ""},
                 {80, "40"},
                 {97, "99"},
                 {98, ""},
                 {99, ""},
                 {100, ""},
                 {101, std::nullopt},
                 {-1, std::nullopt},
                 {32767, std::nullopt},
                 {-32768, std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(codes.At(c.index), c.code) << "index " << c.index;
    }
}

} // namespace
} // namespace treadkey
