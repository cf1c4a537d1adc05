#include "editor/key_table.h"
#include "editor/press_text.h"
#include "editor/usage_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treadkey {
namespace {

struct TextCase {
    HeldInputs inputs;
    std::string text;
};

TEST(PressedKeysText, NamesKeysAsTheKeyLogLineDoes) {
    const std::vector<TextCase> cases = {
        {{0x03, {0x04}, 0, {}}, "Ctrl + Shift + A"},
        // The log lists Alt before Shift on each side, whatever the bit order.
        {{0xFF, {0x3A}, 0, {}}, "Ctrl + Alt + Shift + Win + Ctrl_R + Alt_R + Shift_R + Win_R + F1"},
        {{0x10, {}, 0, {}}, "Ctrl_R"},
        // Keypad keys share captions with their twins but not codes.
        {{0, {0x59}, 0, {}}, "1"},
        {{0, {0x1E}, 0, {}}, "1"},
        {{0, {0x58}, 0, {}}, "Enter"},
        {{0, {0x53}, 0, {}}, "Num  Lock"},
        {{0, {0x32}, 0, {}}, "\\"},
        {{0, {0x31}, 0, {}}, "\\ and |"},
        {{0x01, {0x68, 0x73}, 0, {}}, "Ctrl + F13 + F24"},
        {{0, {0xA5}, 0, {}}, "0007:00A5"},
        {{0, {}, 0, {{0x0C, 0xE9}, {0x0C, 0x1234}}}, "Volume Increment + 000C:1234"},
        {{0, {}, 0x02, {}}, ""},
    };
    for (const TextCase& tested : cases) {
        EXPECT_EQ(PressedKeysText(tested.inputs), tested.text);
    }
}

TEST(KeyIndexForUsage, GoesBackToTheKeyThatSendsIt) {
    // Every visible key is found again from its own code: no twin shadows another.
    for (const KeyEntry& key : KeyTable()) {
        if (key.container != KeyContainer::Frame1) {
            continue;
        }
        const int code = std::stoi(std::string(key.code));
        EXPECT_EQ(KeyIndexForUsage(static_cast<std::uint16_t>(code)), key.index) << key.caption;
    }
    EXPECT_FALSE(KeyIndexForUsage(0x68).has_value());
    EXPECT_FALSE(KeyIndexForUsage(0).has_value());
}

TEST(UnlistedKeyWords, NumberedRunsEndWhereTheTablesDo) {
    EXPECT_EQ(UnlistedKeyWords(0x68)->name, "f13");
    EXPECT_EQ(UnlistedKeyWords(0x73)->caption, "F24");
    EXPECT_EQ(UnlistedKeyWords(0x8F)->name, "international9");
    EXPECT_EQ(UnlistedKeyWords(0x90)->name, "lang1");
    EXPECT_FALSE(UnlistedKeyWords(0xA5).has_value()); // reserved
    EXPECT_FALSE(UnlistedKeyWords(0x04).has_value()); // A has its key
}

} // namespace
} // namespace treadkey
