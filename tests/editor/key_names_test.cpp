#include "editor/closest_names.h"
#include "editor/input_names.h"
#include "editor/key_combo.h"
#include "editor/key_table.h"
#include "editor/mouse_buttons.h"
#include "protocol/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace treadkey {
namespace {

int CodeOfName(std::string_view name) {
    const std::optional<int> index = KeyIndexByName(name);
    EXPECT_TRUE(index) << name;
    return index ? static_cast<int>(ReadLeadingNumber(KeyTable()[static_cast<std::size_t>(*index)].code))
                 : -1;
}

// The code each name must send, written down from the keyboard usage table rather than read from KeyTable().
std::map<std::string, int> ExpectedCodes() {
    std::map<std::string, int> codes = {
        {"0", 39},         {"enter", 40},     {"esc", 41},        {"backspace", 42},    {"tab", 43},
        {"space", 44},     {"minus", 45},     {"equal", 46},      {"left_bracket", 47}, {"right_bracket", 48},
        {"backslash", 50}, {"semicolon", 51}, {"apostrophe", 52}, {"grave", 53},        {"comma", 54},
        {"period", 55},    {"slash", 56},     {"caps_lock", 57},  {"print_screen", 70}, {"scroll_lock", 71},
        {"pause", 72},     {"insert", 73},    {"home", 74},       {"page_up", 75},      {"delete", 76},
        {"end", 77},       {"page_down", 78}, {"right", 79},      {"left", 80},         {"down", 81},
        {"up", 82},        {"num_lock", 83},  {"kp_divide", 84},  {"kp_multiply", 85},  {"kp_minus", 86},
        {"kp_plus", 87},   {"kp_enter", 88},  {"kp_0", 98},       {"kp_dot", 99},       {"menu", 101},
    };
    for (int i = 0; i < 26; ++i) {
        codes[std::string(1, static_cast<char>('a' + i))] = 4 + i;
    }
    for (int i = 1; i <= 9; ++i) {
        codes[std::to_string(i)] = 29 + i;
        codes["kp_" + std::to_string(i)] = 88 + i;
    }
    for (int i = 1; i <= 12; ++i) {
        codes["f" + std::to_string(i)] = 57 + i;
    }
    return codes;
}

TEST(CliKeyNames, EveryNameSendsItsKeysCode) {
    const std::map<std::string, int> expected = ExpectedCodes();
    ASSERT_EQ(expected.size(), kNamedKeyCount);
    for (const KeyName& key : KeyNames()) {
        ASSERT_TRUE(expected.contains(std::string(key.name))) << key.name;
        EXPECT_EQ(CodeOfName(key.name), expected.at(std::string(key.name))) << key.name;
        EXPECT_EQ(KeyIndexByName(key.name), key.keyIndex) << key.name;
    }
}

TEST(CliKeyNames, OneNameForEachDistinctCodeOfTheOnScreenKeyboard) {
    std::set<std::string_view> tableCodes;
    for (const KeyEntry& entry : KeyTable()) {
        if (!entry.code.empty()) {
            tableCodes.insert(entry.code);
        }
    }
    std::set<std::string_view> namedCodes;
    std::set<std::string_view> names;
    for (const KeyName& key : KeyNames()) {
        EXPECT_TRUE(namedCodes.insert(KeyTable()[static_cast<std::size_t>(key.keyIndex)].code).second)
            << key.name << " repeats a code";
        EXPECT_TRUE(names.insert(key.name).second) << key.name;
        EXPECT_NE(key.keyIndex, kCodelessKeyIndex);
        EXPECT_EQ(ToLowerAscii(key.name), key.name);
        EXPECT_EQ(key.name.find('+'), std::string_view::npos) << key.name;
    }
    EXPECT_EQ(namedCodes, tableCodes);
}

TEST(CliKeyNames, KeypadKeysDifferFromTheirMainKeyboardTwins) {
    const std::pair<const char*, const char*> twins[] = {
        {"0", "kp_0"},         {"1", "kp_1"},         {"5", "kp_5"},          {"9", "kp_9"},
        {"enter", "kp_enter"}, {"minus", "kp_minus"}, {"slash", "kp_divide"}, {"period", "kp_dot"},
    };
    for (const auto& [main, keypad] : twins) {
        const std::size_t mainIndex = static_cast<std::size_t>(*KeyIndexByName(main));
        const std::size_t keypadIndex = static_cast<std::size_t>(*KeyIndexByName(keypad));
        EXPECT_NE(KeyTable()[mainIndex].code, KeyTable()[keypadIndex].code) << main << " / " << keypad;
        // They are twins: the same caption on two keys, or the keypad one extends it ("./Del").
        EXPECT_TRUE(KeyTable()[keypadIndex].caption.starts_with(KeyTable()[mainIndex].caption.substr(0, 1)))
            << main << " / " << keypad;
    }
}

TEST(CliKeyNames, BothNumLockButtonsShareOneName) {
    int named = 0;
    for (const KeyName& key : KeyNames()) {
        named += KeyTable()[static_cast<std::size_t>(key.keyIndex)].code == "83" ? 1 : 0;
    }
    EXPECT_EQ(named, 1);
    EXPECT_EQ(CodeOfName("num_lock"), 83);
}

TEST(CliKeyCombo, ReadsModifiersInAnyOrderAndCase) {
    const struct {
        const char* text;
        std::uint8_t modifiers;
        const char* key;
    } cases[] = {
        {"ctrl+shift+a", 0x03, "a"},
        {"shift+ctrl+a", 0x03, "a"},
        {"A+Shift+CTRL", 0x03, "a"},
        {"alt_r+f12", 0x40, "f12"},
        {"win+kp_enter", 0x08, "kp_enter"},
        {"backslash", 0x00, "backslash"},
        {"MENU", 0x00, "menu"},
        {"ctrl_l+shift_l+alt_l+win_l+ctrl_r+shift_r+alt_r+win_r+z", 0xFF, "z"},
        {"win_r+alt_r+shift_r+ctrl_r+win+alt+shift+ctrl+z", 0xFF, "z"},
        {"ctrl_r+ctrl+1", 0x11, "1"},
        {"shift+kp_1", 0x02, "kp_1"},
    };
    for (const auto& c : cases) {
        const ParsedKeyCombo parsed = ParseKeyCombo(c.text);
        ASSERT_TRUE(parsed.combo) << c.text << ": " << parsed.error;
        EXPECT_EQ(parsed.combo->modifiers, c.modifiers) << c.text;
        EXPECT_EQ(parsed.combo->keyIndex, KeyIndexByName(c.key)) << c.text;
        EXPECT_EQ(KeyCode(*parsed.combo), CodeOfName(c.key)) << c.text;
    }
}

// A combination that is not one key is refused saying why; an unknown name suggests the closest ones, where
// typos of aliases find the name they stand for, and of as near names the one that keeps more of its letters
// comes first.
TEST(CliKeyCombo, RefusesCombinationsThatAreNotOneKey) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"ctrl+shift", "names no key"},
        {"a+b", "names two keys, a and b"},
        {"ctrl+ctrl+a", "same modifier twice"},
        {"ctrl+ctrl_l+a", "same modifier twice"},
        {"ctrl++a", "empty name"},
        {"ctrl+", "empty name"},
        {"", "empty name"},
        {"ctrl + a", "unknown key name \"ctrl \""},
        {"ctlr+a", "closest: ctrl"},
        {"ctrl+kp_entr", "closest: kp_enter"},
        {"alt+=", "closest: equal"},
        {"pgupp", "closest: page_up"},
        {"Escp", "closest: esc"},
        {"shfit+a", "closest: shift"},
        {"num_lok", "closest: num_lock"},
        {"escap", "closest: esc"},
        {"retrun", "closest: enter"},
        {"supr+a", "closest: win"},
        {"pgdwn", "closest: page_down"},
        {"tb", "closest: tab"},
        {"ctrl+dl", "closest: delete"},
    };
    for (const auto& c : cases) {
        const ParsedKeyCombo parsed = ParseKeyCombo(c.text);
        EXPECT_FALSE(parsed.combo) << c.text;
        EXPECT_NE(parsed.error.find(c.error), std::string::npos) << c.text << ": " << parsed.error;
        if (std::string_view(c.error).starts_with("closest")) {
            EXPECT_NE(parsed.error.find("'treadkeyctl keys'"), std::string::npos) << parsed.error;
        }
    }
    const ParsedKeyCombo far = ParseKeyCombo("ctrl+xyzzyqwv");
    EXPECT_EQ(far.error.find("closest"), std::string::npos) << far.error;
}

// The names people type for keys and modifiers, each with the name it must stand for.
TEST(CliKeyCombo, AcceptsTheCommonAliases) {
    const struct {
        const char* text;
        const char* same; // the combination in own names
    } cases[] = {
        {"del", "delete"},
        {"ctrl+alt+DEL", "ctrl+alt+delete"},
        {"escape", "esc"},
        {"return", "enter"},
        {"ins", "insert"},
        {"pgup", "page_up"},
        {"pgdn", "page_down"},
        {"bksp", "backspace"},
        {"numlock", "num_lock"},
        {"super+l", "win+l"},
        {"meta+a", "win+a"},
        {"cmd+shift+z", "win+shift+z"},
        {"Super_R+a", "win_r+a"},
        {"cmd_l+a", "win+a"},
        {"control+option+a", "ctrl+alt+a"},
    };
    for (const auto& c : cases) {
        const ParsedKeyCombo alias = ParseKeyCombo(c.text);
        const ParsedKeyCombo own = ParseKeyCombo(c.same);
        ASSERT_TRUE(alias.combo) << c.text << ": " << alias.error;
        ASSERT_TRUE(own.combo) << c.same << ": " << own.error;
        EXPECT_EQ(*alias.combo, *own.combo) << c.text;
    }
    EXPECT_NE(ParseKeyCombo("win+super+a").error.find("same modifier twice"), std::string::npos);
    EXPECT_NE(ParseKeyCombo("del+delete").error.find("names two keys"), std::string::npos);
    // An alias never hides a name: each stands for a name and is none itself.
    for (const NameAlias& alias : KeyAliases()) {
        EXPECT_FALSE(std::any_of(KeyNames().begin(), KeyNames().end(), [&](const KeyName& key) {
            return key.name == alias.alias;
        })) << alias.alias;
        EXPECT_TRUE(KeyIndexByName(alias.name)) << alias.name;
        EXPECT_FALSE(ModifierBitByName(alias.alias)) << alias.alias;
    }
}

TEST(CliClosestNames, EditDistanceCountsASwapAsOneStep) {
    const struct {
        const char* a;
        const char* b;
        std::size_t distance;
    } cases[] = {
        {"ctrl", "ctrl", 0},      {"ctrl", "ctlr", 1}, {"", "abc", 3},      {"abc", "", 3},
        {"kitten", "sitting", 3}, {"ab", "ba", 1},     {"abcd", "badc", 2}, {"f1", "f12", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
        EXPECT_EQ(EditDistance(c.b, c.a), c.distance) << c.b << " / " << c.a;
    }
}

TEST(CliClosestNames, NearestFirstAtMostAsManyAsAsked) {
    const std::vector<NameSpelling> names = {
        {"ctrl", "ctrl"}, {"ctrl_r", "ctrl_r"}, {"alt", "alt"}, {"page_up", "page_up"}, {"page_up", "Pg up"}};
    // One step from both: the one that keeps more of its letters first.
    EXPECT_EQ(ClosestNames("ctrl_", names, 3), (std::vector<std::string_view>{"ctrl_r", "ctrl"}));
    EXPECT_EQ(ClosestNames("ctrl_", names, 1), (std::vector<std::string_view>{"ctrl_r"}));
    EXPECT_EQ(ClosestNames("alz", names, 3), (std::vector<std::string_view>{"alt"}));
    // Every letter replaced is no likeness, however short the names.
    EXPECT_TRUE(ClosestNames("x", {{"a", "a"}, {"b", "b"}}, 3).empty());
    EXPECT_EQ(ClosestNames("ctrl_rr", names, 3), (std::vector<std::string_view>{"ctrl_r", "ctrl"}));
    EXPECT_EQ(ClosestNames("PGUP", names, 3), (std::vector<std::string_view>{"page_up"}));
    EXPECT_TRUE(ClosestNames("zzzzzz", names, 3).empty());
}

TEST(CliMouseNames, NamesFollowTheButtonTable) {
    const struct {
        const char* name;
        int code;
    } cases[] = {{"left", 1}, {"middle", 4}, {"right", 2}, {"RIGHT", 2}};
    for (const auto& c : cases) {
        const std::optional<std::size_t> button = MouseButtonByName(c.name);
        ASSERT_TRUE(button) << c.name;
        EXPECT_EQ(kMouseButtons[*button].code, c.code) << c.name;
    }
    EXPECT_FALSE(MouseButtonByName("centre"));
    EXPECT_FALSE(MouseButtonByName(""));
}

TEST(CliModifierNames, OwnNamesCarryTheirToggleBitsAndLeftAliasesTheirs) {
    const std::pair<const char*, std::uint8_t> cases[] = {
        {"ctrl", 0x01},    {"shift", 0x02}, {"alt", 0x04},   {"win", 0x08},    {"ctrl_r", 0x10},
        {"shift_r", 0x20}, {"alt_r", 0x40}, {"win_r", 0x80}, {"ctrl_l", 0x01}, {"shift_l", 0x02},
        {"alt_l", 0x04},   {"win_l", 0x08}, {"Win_R", 0x80},
    };
    for (const auto& [name, bit] : cases) {
        EXPECT_EQ(ModifierBitByName(name), bit) << name;
    }
    EXPECT_EQ(ModifierNames().size(), 27u);
    EXPECT_FALSE(ModifierBitByName("ctrl_x"));
    EXPECT_FALSE(ModifierBitByName("alt_r_l"));
}

} // namespace
} // namespace treadkey
