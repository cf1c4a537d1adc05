#include "editor/key_table.h"

namespace treadkey {

namespace {

// Index, caption, code, command-line name, place in twips, container. Keypad keys repeat main-keyboard
// captions with their own codes, so a key is only ever looked up by its index or its name; keypad names carry
// a kp_ prefix so that they never pass for their main-keyboard twins.
constexpr std::array<KeyEntry, kKeyButtonCount> kKeys = {{
    {0, "F1", "58", "f1", {720, 120, 495, 615}, KeyContainer::Frame1},
    {1, "F2", "59", "f2", {1320, 120, 495, 615}, KeyContainer::Frame1},
    {2, "F3", "60", "f3", {2040, 120, 495, 615}, KeyContainer::Frame1},
    {3, "F4", "61", "f4", {2760, 120, 495, 615}, KeyContainer::Frame1},
    {4, "F5", "62", "f5", {3480, 120, 495, 615}, KeyContainer::Frame1},
    {5, "F6", "63", "f6", {4200, 120, 495, 615}, KeyContainer::Frame1},
    {6, "F7", "64", "f7", {4920, 120, 495, 615}, KeyContainer::Frame1},
    {7, "F8", "65", "f8", {5640, 120, 495, 615}, KeyContainer::Frame1},
    {8, "F9", "66", "f9", {6360, 120, 495, 615}, KeyContainer::Frame1},
    {9, "F10", "67", "f10", {7080, 120, 495, 615}, KeyContainer::Frame1},
    {10, "F11", "68", "f11", {7800, 120, 495, 615}, KeyContainer::Frame1},
    {11, "F12", "69", "f12", {8520, 120, 495, 615}, KeyContainer::Frame1},
    {12, "insert", "73", "insert", {9360, 960, 975, 615}, KeyContainer::Frame1},
    {13, "prt sc", "70", "print_screen", {9360, 120, 975, 615}, KeyContainer::Frame1},
    {14, "delete", "76", "delete", {9360, 1680, 975, 615}, KeyContainer::Frame1},
    {15, "pause", "72", "pause", {11520, 120, 975, 615}, KeyContainer::Frame1},
    {16, "-", "45", "minus", {6840, 840, 495, 495}, KeyContainer::Frame1},
    {17, "=", "46", "equal", {7440, 840, 495, 495}, KeyContainer::Frame1},
    {18, "backspace", "42", "backspace", {8040, 840, 975, 495}, KeyContainer::Frame1},
    {19, "home", "74", "home", {10440, 960, 975, 615}, KeyContainer::Frame1},
    {20, "end", "77", "end", {10440, 1680, 975, 615}, KeyContainer::Frame1},
    {21, "numlock", "83", "", {14880, 1560, 855, 495}, KeyContainer::Window},
    {22, "scrlock", "71", "scroll_lock", {10440, 120, 975, 615}, KeyContainer::Frame1},
    {23, ",", "54", "comma", {5880, 2640, 495, 495}, KeyContainer::Frame1},
    {24, ".", "55", "period", {6480, 2640, 495, 495}, KeyContainer::Frame1},
    {25, ";", "51", "semicolon", {6840, 2040, 495, 495}, KeyContainer::Frame1},
    {26, "'", "52", "apostrophe", {7440, 2040, 495, 495}, KeyContainer::Frame1},
    {27, "\\", "50", "backslash", {8520, 1440, 495, 495}, KeyContainer::Frame1},
    {28, "/", "56", "slash", {7080, 2640, 495, 495}, KeyContainer::Frame1},
    {29, "[", "47", "left_bracket", {7320, 1440, 495, 495}, KeyContainer::Frame1},
    {30, "]", "48", "right_bracket", {7920, 1440, 495, 495}, KeyContainer::Frame1},
    {31, "menu", "101", "menu", {7440, 3240, 735, 495}, KeyContainer::Frame1},
    {32, "↑", "82", "up", {10560, 2400, 855, 615}, KeyContainer::Frame1},
    {33, "↓", "81", "down", {10560, 3120, 855, 615}, KeyContainer::Frame1},
    {34, "←", "80", "left", {9480, 3120, 855, 615}, KeyContainer::Frame1},
    {35, "→", "79", "right", {11640, 3120, 735, 615}, KeyContainer::Frame1},
    {36, "Esc", "41", "esc", {120, 120, 495, 615}, KeyContainer::Frame1},
    {37, "~", "53", "grave", {120, 840, 615, 495}, KeyContainer::Frame1},
    {38, "Tab", "43", "tab", {120, 1440, 975, 495}, KeyContainer::Frame1},
    {39, "Caps", "57", "caps_lock", {120, 2040, 1095, 495}, KeyContainer::Frame1},
    {40, "0", "39", "0", {6240, 840, 495, 495}, KeyContainer::Frame1},
    {41, "1", "30", "1", {840, 840, 495, 495}, KeyContainer::Frame1},
    {42, "2", "31", "2", {1440, 840, 495, 495}, KeyContainer::Frame1},
    {43, "3", "32", "3", {2040, 840, 495, 495}, KeyContainer::Frame1},
    {44, "4", "33", "4", {2640, 840, 495, 495}, KeyContainer::Frame1},
    {45, "5", "34", "5", {3240, 840, 495, 495}, KeyContainer::Frame1},
    {46, "6", "35", "6", {3840, 840, 495, 495}, KeyContainer::Frame1},
    {47, "7", "36", "7", {4440, 840, 495, 495}, KeyContainer::Frame1},
    {48, "8", "37", "8", {5040, 840, 495, 495}, KeyContainer::Frame1},
    {49, "9", "38", "9", {5640, 840, 495, 495}, KeyContainer::Frame1},
    {50, "A", "4", "a", {1440, 2040, 495, 495}, KeyContainer::Frame1},
    {51, "B", "5", "b", {4080, 2640, 495, 495}, KeyContainer::Frame1},
    {52, "C", "6", "c", {2760, 2640, 495, 495}, KeyContainer::Frame1},
    {53, "D", "7", "d", {2640, 2040, 495, 495}, KeyContainer::Frame1},
    {54, "E", "8", "e", {2520, 1440, 495, 495}, KeyContainer::Frame1},
    {55, "F", "9", "f", {3240, 2040, 495, 495}, KeyContainer::Frame1},
    {56, "G", "10", "g", {3840, 2040, 495, 495}, KeyContainer::Frame1},
    {57, "H", "11", "h", {4440, 2040, 495, 495}, KeyContainer::Frame1},
    {58, "I", "12", "i", {5520, 1440, 495, 495}, KeyContainer::Frame1},
    {59, "J", "13", "j", {5040, 2040, 495, 495}, KeyContainer::Frame1},
    {60, "K", "14", "k", {5640, 2040, 495, 495}, KeyContainer::Frame1},
    {61, "L", "15", "l", {6240, 2040, 495, 495}, KeyContainer::Frame1},
    {62, "M", "16", "m", {5280, 2640, 495, 495}, KeyContainer::Frame1},
    {63, "N", "17", "n", {4680, 2640, 495, 495}, KeyContainer::Frame1},
    {64, "O", "18", "o", {6120, 1440, 495, 495}, KeyContainer::Frame1},
    {65, "P", "19", "p", {6720, 1440, 495, 495}, KeyContainer::Frame1},
    {66, "Q", "20", "q", {1320, 1440, 495, 495}, KeyContainer::Frame1},
    {67, "R", "21", "r", {3120, 1440, 495, 495}, KeyContainer::Frame1},
    {68, "S", "22", "s", {2040, 2040, 495, 495}, KeyContainer::Frame1},
    {69, "T", "23", "t", {3720, 1440, 495, 495}, KeyContainer::Frame1},
    {70, "U", "24", "u", {4920, 1440, 495, 495}, KeyContainer::Frame1},
    {71, "V", "25", "v", {3360, 2640, 495, 495}, KeyContainer::Frame1},
    {72, "W", "26", "w", {1920, 1440, 495, 495}, KeyContainer::Frame1},
    {73, "X", "27", "x", {2160, 2640, 495, 495}, KeyContainer::Frame1},
    {74, "Y", "28", "y", {4320, 1440, 495, 495}, KeyContainer::Frame1},
    {75, "Z", "29", "z", {1560, 2640, 495, 495}, KeyContainer::Frame1},
    {76, " ", "44", "space", {3120, 3240, 2535, 495}, KeyContainer::Frame1},
    {77, "Pg up", "75", "page_up", {11520, 960, 975, 615}, KeyContainer::Frame1},
    {78, "Pg dn", "78", "page_down", {11520, 1680, 975, 615}, KeyContainer::Frame1},
    {79, "enter", "", "", {14160, 1560, 615, 495}, KeyContainer::Window},
    {80, "Enter", "40", "enter", {8040, 2040, 975, 495}, KeyContainer::Frame1},
    {81, "Num  Lock", "83", "num_lock", {12720, 240, 615, 615}, KeyContainer::Frame1},
    {82, "/", "84", "kp_divide", {13440, 240, 615, 615}, KeyContainer::Frame1},
    {83, "*", "85", "kp_multiply", {14160, 240, 615, 615}, KeyContainer::Frame1},
    {84, "-", "86", "kp_minus", {14880, 240, 735, 615}, KeyContainer::Frame1},
    {85, "7", "95", "kp_7", {12720, 960, 615, 495}, KeyContainer::Frame1},
    {86, "8", "96", "kp_8", {13440, 960, 615, 495}, KeyContainer::Frame1},
    {87, "9", "97", "kp_9", {14160, 960, 615, 495}, KeyContainer::Frame1},
    {88, "+", "87", "kp_plus", {14880, 960, 735, 1095}, KeyContainer::Frame1},
    {89, "4", "92", "kp_4", {12720, 1560, 615, 495}, KeyContainer::Frame1},
    {90, "5", "93", "kp_5", {13440, 1560, 615, 495}, KeyContainer::Frame1},
    {91, "6", "94", "kp_6", {14160, 1560, 615, 495}, KeyContainer::Frame1},
    {92, "1", "89", "kp_1", {12720, 2160, 615, 495}, KeyContainer::Frame1},
    {93, "2", "90", "kp_2", {13440, 2160, 615, 495}, KeyContainer::Frame1},
    {94, "3", "91", "kp_3", {14160, 2160, 615, 495}, KeyContainer::Frame1},
    {95, "Enter", "88", "kp_enter", {14880, 2160, 735, 1095}, KeyContainer::Frame1},
    {96, "0", "98", "kp_0", {12720, 2760, 615, 495}, KeyContainer::Frame1},
    {97, "./Del", "99", "kp_dot", {13440, 2760, 1335, 495}, KeyContainer::Frame1},
}};

constexpr std::size_t NamedKeys() {
    std::size_t count = 0;
    for (const KeyEntry& key : kKeys) {
        count += key.name.empty() ? 0 : 1;
    }
    return count;
}
static_assert(NamedKeys() == kNamedKeyCount);

} // namespace

const std::array<KeyEntry, kKeyButtonCount>& KeyTable() {
    return kKeys;
}

void KeyCodeTable::Fill() {
    for (const KeyEntry& key : kKeys) {
        codes_[static_cast<std::size_t>(key.index)] = std::string(key.code);
    }
}

std::optional<std::string_view> KeyCodeTable::At(int index) const {
    if (index < kLowerBound || index > kUpperBound) {
        return std::nullopt;
    }
    return codes_[static_cast<std::size_t>(index)];
}

} // namespace treadkey
