#include "cli/input_names.h"

#include "editor/key_command.h"
#include "editor/mouse_command.h"

#include <algorithm>
#include <utility>

namespace treadkey {
namespace {

static_assert(kMouseButtonNames.size() == kMouseButtons.size());

// Keypad keys carry a kp_ prefix so that they never pass for their main-keyboard twins.
constexpr std::array<KeyName, kNamedKeyCount> kKeyNames = {{
    {"f1", 0},
    {"f2", 1},
    {"f3", 2},
    {"f4", 3},
    {"f5", 4},
    {"f6", 5},
    {"f7", 6},
    {"f8", 7},
    {"f9", 8},
    {"f10", 9},
    {"f11", 10},
    {"f12", 11},
    {"insert", 12},
    {"print_screen", 13},
    {"delete", 14},
    {"pause", 15},
    {"minus", 16},
    {"equal", 17},
    {"backspace", 18},
    {"home", 19},
    {"end", 20},
    {"scroll_lock", 22},
    {"comma", 23},
    {"period", 24},
    {"semicolon", 25},
    {"apostrophe", 26},
    {"backslash", 27},
    {"slash", 28},
    {"left_bracket", 29},
    {"right_bracket", 30},
    {"menu", 31},
    {"up", 32},
    {"down", 33},
    {"left", 34},
    {"right", 35},
    {"esc", 36},
    {"grave", 37},
    {"tab", 38},
    {"caps_lock", 39},
    {"0", 40},
    {"1", 41},
    {"2", 42},
    {"3", 43},
    {"4", 44},
    {"5", 45},
    {"6", 46},
    {"7", 47},
    {"8", 48},
    {"9", 49},
    {"a", 50},
    {"b", 51},
    {"c", 52},
    {"d", 53},
    {"e", 54},
    {"f", 55},
    {"g", 56},
    {"h", 57},
    {"i", 58},
    {"j", 59},
    {"k", 60},
    {"l", 61},
    {"m", 62},
    {"n", 63},
    {"o", 64},
    {"p", 65},
    {"q", 66},
    {"r", 67},
    {"s", 68},
    {"t", 69},
    {"u", 70},
    {"v", 71},
    {"w", 72},
    {"x", 73},
    {"y", 74},
    {"z", 75},
    {"space", 76},
    {"page_up", 77},
    {"page_down", 78},
    {"enter", 80},
    {"num_lock", 81},
    {"kp_divide", 82},
    {"kp_multiply", 83},
    {"kp_minus", 84},
    {"kp_7", 85},
    {"kp_8", 86},
    {"kp_9", 87},
    {"kp_plus", 88},
    {"kp_4", 89},
    {"kp_5", 90},
    {"kp_6", 91},
    {"kp_1", 92},
    {"kp_2", 93},
    {"kp_3", 94},
    {"kp_enter", 95},
    {"kp_0", 96},
    {"kp_dot", 97},
}};

constexpr std::string_view kTogglePrefix = "Command_";
constexpr std::string_view kRightSuffix = "_r";
constexpr std::string_view kLeftSuffix = "_l";

std::vector<ModifierName> BuildModifierNames() {
    std::vector<ModifierName> names;
    for (const ModifierToggle& toggle : kModifierToggles) {
        names.push_back({ToLowerAscii(toggle.control.substr(kTogglePrefix.size())), toggle.bit});
    }
    const std::size_t ownNames = names.size();
    for (std::size_t i = 0; i < ownNames; ++i) {
        if (!names[i].name.ends_with(kRightSuffix)) {
            ModifierName alias{names[i].name + std::string(kLeftSuffix), names[i].bit};
            names.push_back(std::move(alias));
        }
    }
    return names;
}

} // namespace

std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

const std::array<KeyName, kNamedKeyCount>& KeyNames() {
    return kKeyNames;
}

std::optional<int> KeyIndexByName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    for (const KeyName& key : kKeyNames) {
        if (key.name == lower) {
            return key.keyIndex;
        }
    }
    return std::nullopt;
}

const std::vector<ModifierName>& ModifierNames() {
    static const std::vector<ModifierName> names = BuildModifierNames();
    return names;
}

std::optional<std::uint8_t> ModifierBitByName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    for (const ModifierName& modifier : ModifierNames()) {
        if (modifier.name == lower) {
            return modifier.bit;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> MouseButtonByName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    for (std::size_t i = 0; i < kMouseButtonNames.size(); ++i) {
        if (kMouseButtonNames[i] == lower) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace treadkey
