#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace treadkey {

// The eight modifiers, in the order of their bits in a USB keyboard report's modifier byte, with the name the
// command line knows each by.
struct ModifierKey {
    std::uint8_t bit;
    std::string_view name;
};
inline constexpr std::array<ModifierKey, 8> kModifiers = {{
    {0x01, "ctrl"},
    {0x02, "shift"},
    {0x04, "alt"},
    {0x08, "win"},
    {0x10, "ctrl_r"},
    {0x20, "shift_r"},
    {0x40, "alt_r"},
    {0x80, "win_r"},
}};

} // namespace treadkey
