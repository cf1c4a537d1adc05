#pragma once

#include "editor/modifier_keys.h"
#include "editor/mouse_buttons.h"

#include <array>
#include <string_view>

namespace treadkey {

// Controls the window finds by object name, for the tables the window walks.

// The modifier toggles, in the order of kModifiers.
inline constexpr std::array<std::string_view, kModifiers.size()> kModifierToggleControls = {
    "Command_ctrl",   "Command_shift",   "Command_alt",   "Command_win",
    "Command_ctrl_r", "Command_shift_r", "Command_alt_r", "Command_win_r",
};

// The mouse buttons, in the order of kMouseButtons.
inline constexpr std::array<std::string_view, kMouseButtons.size()> kMouseButtonControls = {
    "Command_L_btn",
    "Command_M_btn",
    "Command_R_btn",
};

// The controls that write to the device, after the whole on-screen keyboard, in the order they are enabled
// and disabled together. Hidden members stay hidden: only their enabled state follows the device.
inline constexpr std::array<std::string_view, 15> kWriteButtonsAfterKeys = {
    "Command_shift",  "Command_ctrl",  "Command_alt",   "Command_win",      "Command_shift_r",
    "Command_ctrl_r", "Command_alt_r", "Command_win_r", "Command1",         "Iwrite",
    "Command_L_btn",  "Command_M_btn", "Command_R_btn", "Command_auto_run", "Command2",
};

} // namespace treadkey
