#include "editor/key_table.h"

namespace treadkey {

namespace {

// Index, caption, code, place in twips, container. Keypad keys repeat main-keyboard captions with their own
// codes, so a key is only ever looked up by its index.
constexpr std::array<KeyEntry, kKeyButtonCount> kKeys = {{
    {0, "F1", "58", {720, 120, 495, 615}, KeyContainer::Frame1},
    {1, "F2", "59", {1320, 120, 495, 615}, KeyContainer::Frame1},
    {2, "F3", "60", {2040, 120, 495, 615}, KeyContainer::Frame1},
    {3, "F4", "61", {2760, 120, 495, 615}, KeyContainer::Frame1},
    {4, "F5", "62", {3480, 120, 495, 615}, KeyContainer::Frame1},
    {5, "F6", "63", {4200, 120, 495, 615}, KeyContainer::Frame1},
    {6, "F7", "64", {4920, 120, 495, 615}, KeyContainer::Frame1},
    {7, "F8", "65", {5640, 120, 495, 615}, KeyContainer::Frame1},
    {8, "F9", "66", {6360, 120, 495, 615}, KeyContainer::Frame1},
    {9, "F10", "67", {7080, 120, 495, 615}, KeyContainer::Frame1},
    {10, "F11", "68", {7800, 120, 495, 615}, KeyContainer::Frame1},
    {11, "F12", "69", {8520, 120, 495, 615}, KeyContainer::Frame1},
    {12, "insert", "73", {9360, 960, 975, 615}, KeyContainer::Frame1},
    {13, "prt sc", "70", {9360, 120, 975, 615}, KeyContainer::Frame1},
    {14, "delete", "76", {9360, 1680, 975, 615}, KeyContainer::Frame1},
    {15, "pause", "72", {11520, 120, 975, 615}, KeyContainer::Frame1},
    {16, "-", "45", {6840, 840, 495, 495}, KeyContainer::Frame1},
    {17, "=", "46", {7440, 840, 495, 495}, KeyContainer::Frame1},
    {18, "backspace", "42", {8040, 840, 975, 495}, KeyContainer::Frame1},
    {19, "home", "74", {10440, 960, 975, 615}, KeyContainer::Frame1},
    {20, "end", "77", {10440, 1680, 975, 615}, KeyContainer::Frame1},
    {21, "numlock", "83", {14880, 1560, 855, 495}, KeyContainer::Window},
    {22, "scrlock", "71", {10440, 120, 975, 615}, KeyContainer::Frame1},
    {23, ",", "54", {5880, 2640, 495, 495}, KeyContainer::Frame1},
    {24, ".", "55", {6480, 2640, 495, 495}, KeyContainer::Frame1},
    {25, ";", "51", {6840, 2040, 495, 495}, KeyContainer::Frame1},
    {26, "'", "52", {7440, 2040, 495, 495}, KeyContainer::Frame1},
    {27, "\\", "50", {8520, 1440, 495, 495}, KeyContainer::Frame1},
    {28, "/", "56", {7080, 2640, 495, 495}, KeyContainer::Frame1},
    {29, "[", "47", {7320, 1440, 495, 495}, KeyContainer::Frame1},
    {30, "]", "48", {7920, 1440, 495, 495}, KeyContainer::Frame1},
    {31, "menu", "101", {7440, 3240, 735, 495}, KeyContainer::Frame1},
    {32, "↑", "82", {10560, 2400, 855, 615}, KeyContainer::Frame1},
    {33, "↓", "81", {10560, 3120, 855, 615}, KeyContainer::Frame1},
    {34, "←", "80", {9480, 3120, 855, 615}, KeyContainer::Frame1},
    {35, "→", "79", {11640, 3120, 735, 615}, KeyContainer::Frame1},
    {36, "Esc", "41", {120, 120, 495, 615}, KeyContainer::Frame1},
    {37, "~", "53", {120, 840, 615, 495}, KeyContainer::Frame1},
    {38, "Tab", "43", {120, 1440, 975, 495}, KeyContainer::Frame1},
    {39, "Caps", "57", {120, 2040, 1095, 495}, KeyContainer::Frame1},
    {40, "0", "39", {6240, 840, 495, 495}, KeyContainer::Frame1},
    {41, "1", "30", {840, 840, 495, 495}, KeyContainer::Frame1},
    {42, "2", "31", {1440, 840, 495, 495}, KeyContainer::Frame1},
    {43, "3", "32", {2040, 840, 495, 495}, KeyContainer::Frame1},
    {44, "4", "33", {2640, 840, 495, 495}, KeyContainer::Frame1},
    {45, "5", "34", {3240, 840, 495, 495}, KeyContainer::Frame1},
    {46, "6", "35", {3840, 840, 495, 495}, KeyContainer::Frame1},
    {47, "7", "36", {4440, 840, 495, 495}, KeyContainer::Frame1},
    {48, "8", "37", {5040, 840, 495, 495}, KeyContainer::Frame1},
    {49, "9", "38", {5640, 840, 495, 495}, KeyContainer::Frame1},
    {50, "A", "4", {1440, 2040, 495, 495}, KeyContainer::Frame1},
    {51, "B", "5", {4080, 2640, 495, 495}, KeyContainer::Frame1},
    {52, "C", "6", {2760, 2640, 495, 495}, KeyContainer::Frame1},
    {53, "D", "7", {2640, 2040, 495, 495}, KeyContainer::Frame1},
    {54, "E", "8", {2520, 1440, 495, 495}, KeyContainer::Frame1},
    {55, "F", "9", {3240, 2040, 495, 495}, KeyContainer::Frame1},
    {56, "G", "10", {3840, 2040, 495, 495}, KeyContainer::Frame1},
    {57, "H", "11", {4440, 2040, 495, 495}, KeyContainer::Frame1},
    {58, "I", "12", {5520, 1440, 495, 495}, KeyContainer::Frame1},
    {59, "J", "13", {5040, 2040, 495, 495}, KeyContainer::Frame1},
    {60, "K", "14", {5640, 2040, 495, 495}, KeyContainer::Frame1},
    {61, "L", "15", {6240, 2040, 495, 495}, KeyContainer::Frame1},
    {62, "M", "16", {5280, 2640, 495, 495}, KeyContainer::Frame1},
    {63, "N", "17", {4680, 2640, 495, 495}, KeyContainer::Frame1},
    {64, "O", "18", {6120, 1440, 495, 495}, KeyContainer::Frame1},
    {65, "P", "19", {6720, 1440, 495, 495}, KeyContainer::Frame1},
    {66, "Q", "20", {1320, 1440, 495, 495}, KeyContainer::Frame1},
    {67, "R", "21", {3120, 1440, 495, 495}, KeyContainer::Frame1},
    {68, "S", "22", {2040, 2040, 495, 495}, KeyContainer::Frame1},
    {69, "T", "23", {3720, 1440, 495, 495}, KeyContainer::Frame1},
    {70, "U", "24", {4920, 1440, 495, 495}, KeyContainer::Frame1},
    {71, "V", "25", {3360, 2640, 495, 495}, KeyContainer::Frame1},
    {72, "W", "26", {1920, 1440, 495, 495}, KeyContainer::Frame1},
    {73, "X", "27", {2160, 2640, 495, 495}, KeyContainer::Frame1},
    {74, "Y", "28", {4320, 1440, 495, 495}, KeyContainer::Frame1},
    {75, "Z", "29", {1560, 2640, 495, 495}, KeyContainer::Frame1},
    {76, " ", "44", {3120, 3240, 2535, 495}, KeyContainer::Frame1},
    {77, "Pg up", "75", {11520, 960, 975, 615}, KeyContainer::Frame1},
    {78, "Pg dn", "78", {11520, 1680, 975, 615}, KeyContainer::Frame1},
    {79, "enter", "", {14160, 1560, 615, 495}, KeyContainer::Window},
    {80, "Enter", "40", {8040, 2040, 975, 495}, KeyContainer::Frame1},
    {81, "Num  Lock", "83", {12720, 240, 615, 615}, KeyContainer::Frame1},
    {82, "/", "84", {13440, 240, 615, 615}, KeyContainer::Frame1},
    {83, "*", "85", {14160, 240, 615, 615}, KeyContainer::Frame1},
    {84, "-", "86", {14880, 240, 735, 615}, KeyContainer::Frame1},
    {85, "7", "95", {12720, 960, 615, 495}, KeyContainer::Frame1},
    {86, "8", "96", {13440, 960, 615, 495}, KeyContainer::Frame1},
    {87, "9", "97", {14160, 960, 615, 495}, KeyContainer::Frame1},
    {88, "+", "87", {14880, 960, 735, 1095}, KeyContainer::Frame1},
    {89, "4", "92", {12720, 1560, 615, 495}, KeyContainer::Frame1},
    {90, "5", "93", {13440, 1560, 615, 495}, KeyContainer::Frame1},
    {91, "6", "94", {14160, 1560, 615, 495}, KeyContainer::Frame1},
    {92, "1", "89", {12720, 2160, 615, 495}, KeyContainer::Frame1},
    {93, "2", "90", {13440, 2160, 615, 495}, KeyContainer::Frame1},
    {94, "3", "91", {14160, 2160, 615, 495}, KeyContainer::Frame1},
    {95, "Enter", "88", {14880, 2160, 735, 1095}, KeyContainer::Frame1},
    {96, "0", "98", {12720, 2760, 615, 495}, KeyContainer::Frame1},
    {97, "./Del", "99", {13440, 2760, 1335, 495}, KeyContainer::Frame1},
}};

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
