#include "app/window_wording.h"

#include "protocol/number_text.h"
#include "protocol/slot_number.h"

#include <algorithm>
#include <utility>

namespace treadkey {

namespace {

constexpr std::pair<std::string_view, std::string_view> kDesignCaptions[] = {
    {"Label3", "USB device is not Link!"},
    {"Label_key_no", "键位选择:"},
    {"Label_delay", "延时响应:"},
    {"Text_delay", "0"},
    {"Label8", "ms"},
    {"Check_once", "一次单键输出"},
    {"Frame_mouse_btn", "鼠标按键值"},
    {"Command_L_btn", "左键"},
    {"Command_M_btn", "中键"},
    {"Command_R_btn", "右键"},
    {"Command3", "英文"},
    {"Label7", "点击按键即可写入键值到模拟器"},
    {"Label_Status", "状态信息："},
    {"Clear", "清除信息"},
    {"Command_shift", "shift"},
    {"Command_shift_r", "shift"},
    {"Command_ctrl", "Ctrl"},
    {"Command_alt", "Alt"},
    {"Command_win", "win"},
    {"Command_alt_r", "Alt"},
    {"Command_win_r", "win"},
    {"Command_ctrl_r", "Ctrl"},
    {"Frame4", "参数设置"},
    {"Option2", "循环播放"},
    {"Option1", "单次播放"},
    {"Command_auto_run", "上电自动运行"},
    {"Command2", "确定"},
    {"Command1", "清除设备键值"},
    {"TextIW", "AA 03 00 00 00 00 00"},
    {"Iwrite", "写入"},
    {"contion", "连接设备"},
    {"TextVID", "2704"},
    {"TextPID", "2018"},
    {"Label1", "VID"},
    {"Label2", "PID"},
};

// What each modifier adds to the key log line, in the order of kModifiers.
constexpr std::array<std::string_view, kModifiers.size()> kModifierLogTexts = {
    "Ctrl + ", "Shift + ", "Alt + ", "Win + ", "Ctrl_R + ", "Shift_R + ", "Alt_R + ", "Win_R + ",
};
// Positions in kModifiers, in the order the log names them.
constexpr std::array<std::size_t, kModifiers.size()> kModifierLogOrder = {0, 2, 1, 3, 4, 6, 5, 7};

// The mouse log line up to its slot number, in the order of kMouseButtons.
constexpr std::array<BilingualText, kMouseButtons.size()> kMouseLogLines = {{
    {"写入鼠标键值:  < 左键单击 > 到地址", "Write Mouse BTN:  < L BTN Click > To Address:"},
    {"写入鼠标键值:  < 中键单击 > 到地址", "Write Mouse BTN:  < M BTN Click > To Address:"},
    {"写入鼠标键值:  < 右键单击 > 到地址", "Write Mouse BTN:  < R BTN Click > To Address:"},
}};

} // namespace

std::string_view DesignCaption(std::string_view control) {
    const auto* found = std::find_if(std::begin(kDesignCaptions), std::end(kDesignCaptions),
                                     [control](const auto& entry) { return entry.first == control; });
    return found == std::end(kDesignCaptions) ? std::string_view() : found->second;
}

std::string ModifierLogText(std::uint8_t modifierByte) {
    std::string text;
    for (const std::size_t position : kModifierLogOrder) {
        if ((modifierByte & kModifiers[position].bit) != 0) {
            text += kModifierLogTexts[position];
        }
    }
    return text;
}

std::string KeyLogLine(bool chinese, std::uint8_t modifierByte, std::string_view caption,
                       std::string_view slotText) {
    const std::string keys = ModifierLogText(modifierByte) + std::string(caption);
    const std::string slot = SlotNumberText(slotText);
    return chinese ? "写入键值:  < " + keys + " > 到地址" + slot
                   : "Write Key Val:  < " + keys + " > To Address:" + slot;
}

std::string MouseLogLine(bool chinese, std::size_t mouseButton, std::string_view slotText) {
    return std::string(kMouseLogLines[mouseButton].In(chinese)) + SlotNumberText(slotText);
}

std::string KeyDelayLogLine(bool chinese, double roundedDelay) {
    const char* label = chinese ? "按键延时响应时间: " : "Key Delay:  ";
    return label + ShortestDecimalText(roundedDelay) + " ms";
}

} // namespace treadkey
