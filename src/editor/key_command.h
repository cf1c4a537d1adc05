#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace treadkey {

// The eight modifier toggles, in the order their bits are gathered (the bits of a USB keyboard report's
// modifier byte), with the text each adds to the log line.
struct ModifierToggle {
    std::string_view control;
    std::uint8_t bit;
    std::string_view logText;
};
inline constexpr std::array<ModifierToggle, 8> kModifierToggles = {{
    {"Command_ctrl", 0x01, "Ctrl + "},
    {"Command_shift", 0x02, "Shift + "},
    {"Command_alt", 0x04, "Alt + "},
    {"Command_win", 0x08, "Win + "},
    {"Command_ctrl_r", 0x10, "Ctrl_R + "},
    {"Command_shift_r", 0x20, "Shift_R + "},
    {"Command_alt_r", 0x40, "Alt_R + "},
    {"Command_win_r", 0x80, "Win_R + "},
}};

// The modifiers that are on, in the log's order (Alt before Shift on each side): "Ctrl + Alt + Shift + ".
std::string ModifierLogText(std::uint8_t modifierByte);

// "写入键值:  < Ctrl + Shift + A > 到地址3" or "Write Key Val:  < Ctrl + Shift + A > To Address:3".
std::string KeyLogLine(bool chinese, std::uint8_t modifierByte, std::string_view caption,
                       std::string_view slotText);

} // namespace treadkey
