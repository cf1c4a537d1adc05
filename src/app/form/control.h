#pragma once

#include "app/form/control_table.h"

#include <cstdint>
#include <string>
#include <vector>

namespace treadkey {

// What a view is told to draw anew.
enum class ControlProperty { Text, Enabled, Visible, BackColor, Value, ToolTip, Items };

// A control's properties as the window's handlers read and set them; a view draws them. Texts are UTF-8.
struct Control {
    explicit Control(const ControlSpec& made)
        : spec(made), text(made.caption), enabled(made.enabled), visible(made.visible), value(made.value) {}

    bool IsGreen() const { return backColor == kGreen; }

    const ControlSpec& spec;
    std::string text; // a caption, or what a box holds
    bool enabled;
    bool visible;
    bool value;                            // a check box checked, an option button selected
    std::uint32_t backColor = kButtonFace; // drawn by graphical buttons
    std::string toolTip;                   // plain text
    std::vector<std::string> items;        // a combo box's list
};

} // namespace treadkey
