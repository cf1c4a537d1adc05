#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// The names by which the command line and profiles refer to keys, modifiers and mouse buttons. Names are
// lower case and matched case-insensitively.

// One name for each distinct key code of the on-screen keyboard: the codeless button has none, and the two
// Num Lock buttons, which send the same code, share one.
struct KeyName {
    std::string_view name;
    int keyIndex; // into KeyTable()
};
inline constexpr std::size_t kNamedKeyCount = 96;
const std::array<KeyName, kNamedKeyCount>& KeyNames();
std::optional<int> KeyIndexByName(std::string_view name);

// The modifier toggles' own names (ctrl, shift, alt, win and their _r forms) and the left-hand aliases
// ctrl_l, shift_l, alt_l, win_l.
struct ModifierName {
    std::string name;
    std::uint8_t bit;
};
const std::vector<ModifierName>& ModifierNames();
std::optional<std::uint8_t> ModifierBitByName(std::string_view name);

// left, middle and right, in the order of kMouseButtons.
inline constexpr std::array<std::string_view, 3> kMouseButtonNames = {"left", "middle", "right"};
std::optional<std::size_t> MouseButtonByName(std::string_view name);

std::string ToLowerAscii(std::string_view text);

} // namespace treadkey
