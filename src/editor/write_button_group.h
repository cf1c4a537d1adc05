#pragma once

#include <array>
#include <string_view>

namespace treadkey {

// The controls that write to the device, after the whole on-screen keyboard, in the order they are enabled
// and disabled together. Hidden members stay hidden: only their enabled state follows the device.
inline constexpr std::array<std::string_view, 15> kWriteButtonsAfterKeys = {
    "Command_shift",  "Command_ctrl",  "Command_alt",   "Command_win",      "Command_shift_r",
    "Command_ctrl_r", "Command_alt_r", "Command_win_r", "Command1",         "Iwrite",
    "Command_L_btn",  "Command_M_btn", "Command_R_btn", "Command_auto_run", "Command2",
};

} // namespace treadkey
