#pragma once

#include "editor/key_table.h"
#include "editor/modifier_keys.h"
#include "editor/mouse_buttons.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// The window itself: its client area in twips (1066 by 673 logical pixels), its title and its timer.
inline constexpr TwipRect kClientArea{0, 0, 15990, 10095};
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kTimerInterval = 350;

enum class ControlKind {
    Label, // sizes itself to its caption
    ComboBox,
    TextBox,
    CheckBox,
    OptionButton,
    Frame,
    PushButton,
    GraphicalButton, // a push button that draws its background colour
    ListBox,
};

// A font: the family first asked for (where it is missing, the window's own families stand in), its size in
// points and its weight.
struct ControlFont {
    std::string_view family;
    double points;
    bool bold;
};
inline constexpr ControlFont kWindowFont{"SimSun", 10.5, false};
// The window font's character set: GB2312, so that the Chinese captions are drawn from its Chinese glyphs.
inline constexpr int kWindowCharset = 134;

// One control as the window is made: every view builds its controls from these.
struct ControlSpec {
    std::string name;
    ControlKind kind;
    std::string_view container = {}; // the frame it sits in; empty for the window
    TwipRect place = {};             // from the container's corner
    std::string caption = {};        // its caption, or a box's first text
    bool visible = true;             // false: made hidden, and never shown
    bool enabled = true;
    bool value = false;                             // a check box checked, an option button selected
    std::optional<ControlFont> font = std::nullopt; // its own font; nothing for the window's
    int roomEnd =
        kClientArea.width; // a label grows with its caption up to here, where the next control starts
    int tabIndex = -1;     // its place in the Tab chain; -1 when Tab passes it by
    int keyIndex = -1;     // its index in Command_key; -1 for every other control
};

// The window's controls, containers before what they contain, in the order they are made.
const std::vector<ControlSpec>& ControlTable();
// A control of the table by name; nothing for a name it does not hold.
const ControlSpec* FindControl(std::string_view name);
// The name of the key button at an index of Command_key.
std::string KeyButtonName(int index);

// Controls the window's handlers walk, by name.

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

// A graphical button's background colours: a modifier toggle or the auto-run button is on exactly while it
// is green.
inline constexpr std::uint32_t kGreen = 65280;           // 0x00FF00
inline constexpr std::uint32_t kButtonFace = 0x8000000F; // the system's button-face colour

} // namespace treadkey
