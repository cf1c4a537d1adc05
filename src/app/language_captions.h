#pragma once

#include <array>
#include <string_view>

namespace treadkey {

// The captions the language button switches, in the order it sets them. The other language's name stands
// last: the button always offers the language not shown.
struct SwitchableCaption {
    std::string_view control;
    std::string_view chinese;
    std::string_view english;
};
inline constexpr std::array<SwitchableCaption, 11> kSwitchableCaptions = {{
    {"Label_key_no", "键位选择: ", "Key No.: "},
    {"Label_delay", "延时响应: ", "Key Dealy: "},
    {"Check_once", "单次输出", "Output Once"},
    {"Frame_mouse_btn", "写入鼠标按键操作", "Write Mouse Button"},
    {"Command_L_btn", "左键", "L BTN"},
    {"Command_M_btn", "中键", "M BTN"},
    {"Command_R_btn", "右键", "R BTN"},
    {"Label7", "点击按键即可写入键值到模拟器", "Clcik Then Button Write To USB Device"},
    {"Label_Status", "状态信息", "Status"},
    {"Clear", "清除日志信息", "Clear"},
    {"Command3", "英文", "Chinese"},
}};

} // namespace treadkey
