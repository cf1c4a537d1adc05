#pragma once

#include <array>
#include <string>
#include <string_view>

namespace treadkey {

// The three mouse buttons a slot can click. The codes are a USB mouse report's button bits, so the middle
// button is 4.
struct MouseButton {
    std::string_view control;
    int code;
    std::string_view chineseCaption;
    std::string_view englishCaption;
    std::string_view chineseLog;
    std::string_view englishLog;
};
inline constexpr std::array<MouseButton, 3> kMouseButtons = {{
    {"Command_L_btn", 1, "左键", "L BTN", "写入鼠标键值:  < 左键单击 > 到地址",
     "Write Mouse BTN:  < L BTN Click > To Address:"},
    {"Command_M_btn", 4, "中键", "M BTN", "写入鼠标键值:  < 中键单击 > 到地址",
     "Write Mouse BTN:  < M BTN Click > To Address:"},
    {"Command_R_btn", 2, "右键", "R BTN", "写入鼠标键值:  < 右键单击 > 到地址",
     "Write Mouse BTN:  < R BTN Click > To Address:"},
}};

// "Write Mouse BTN:  < R BTN Click > To Address:2" or its Chinese form.
std::string MouseLogLine(bool chinese, const MouseButton& button, std::string_view slotText);

} // namespace treadkey
