#include "app/form/control_table.h"

#include "app/form/reading_order.h"

#include <algorithm>

namespace treadkey {
namespace {

using Kind = ControlKind;

constexpr ControlFont kStatusFont{"", 14.25, false};
constexpr ControlFont kConnectButtonFont{"", 12, false};
constexpr ControlFont kIdLabelFont{"NSimSun", 14.25, true};

// The controls made before the key buttons, in the order they are made.
std::vector<ControlSpec> ControlsBeforeKeys() {
    return {
        {.name = "Label3",
         .kind = Kind::Label,
         .place = {120, 120, 3450, 285},
         .caption = "USB device is not Link!",
         .font = kStatusFont},
        {.name = "Label9", .kind = Kind::Label, .place = {12360, 120, 105, 210}},
        {.name = "Label_key_no",
         .kind = Kind::Label,
         .place = {120, 960, 945, 210},
         .caption = "键位选择:",
         .roomEnd = 1560},
        {.name = "Combo1", .kind = Kind::ComboBox, .place = {1560, 960, 855, 330}, .caption = "1"},
        {.name = "Label_delay",
         .kind = Kind::Label,
         .place = {3480, 960, 945, 210},
         .caption = "延时响应:",
         .roomEnd = 4560},
        {.name = "Text_delay", .kind = Kind::TextBox, .place = {4560, 960, 855, 375}, .caption = "0"},
        {.name = "Label8",
         .kind = Kind::Label,
         .place = {5520, 960, 210, 210},
         .caption = "ms",
         .roomEnd = 6000},
        {.name = "Check_once",
         .kind = Kind::CheckBox,
         .place = {6000, 960, 2415, 375},
         .caption = "一次单键输出"},
        {.name = "Frame_mouse_btn",
         .kind = Kind::Frame,
         .place = {8640, 840, 3255, 975},
         .caption = "鼠标按键值"},
        {.name = "Command_L_btn",
         .kind = Kind::PushButton,
         .container = "Frame_mouse_btn",
         .place = {120, 240, 855, 615},
         .caption = "左键",
         .enabled = false},
        {.name = "Command_M_btn",
         .kind = Kind::PushButton,
         .container = "Frame_mouse_btn",
         .place = {1200, 240, 855, 615},
         .caption = "中键",
         .enabled = false},
        {.name = "Command_R_btn",
         .kind = Kind::PushButton,
         .container = "Frame_mouse_btn",
         .place = {2280, 240, 855, 615},
         .caption = "右键",
         .enabled = false},
        {.name = "Command3", .kind = Kind::PushButton, .place = {12240, 960, 1335, 735}, .caption = "英文"},
        {.name = "Label7",
         .kind = Kind::Label,
         .place = {120, 1680, 2940, 210},
         .caption = "点击按键即可写入键值到模拟器"},
        {.name = "Frame1", .kind = Kind::Frame, .place = {120, 2160, 15735, 3855}},
        {.name = "Label_Status",
         .kind = Kind::Label,
         .place = {120, 6240, 1050, 210},
         .caption = "状态信息：",
         .roomEnd = 2160},
        {.name = "Clear", .kind = Kind::PushButton, .place = {120, 6720, 1695, 495}, .caption = "清除信息"},
        {.name = "lstResults", .kind = Kind::ListBox, .place = {2160, 6120, 13695, 3840}},
    };
}

// Made after the key buttons: the modifier toggles, then the controls that are never shown.
std::vector<ControlSpec> ControlsAfterKeys() {
    const auto toggle = [](const char* name, TwipRect place, const char* caption) {
        return ControlSpec{.name = name,
                           .kind = Kind::GraphicalButton,
                           .container = "Frame1",
                           .place = place,
                           .caption = caption,
                           .enabled = false};
    };
    return {
        toggle("Command_shift", {120, 2640, 1215, 495}, "shift"),
        toggle("Command_shift_r", {7680, 2640, 1335, 495}, "shift"),
        toggle("Command_ctrl", {120, 3240, 975, 495}, "Ctrl"),
        toggle("Command_alt", {1200, 3240, 855, 495}, "Alt"),
        toggle("Command_win", {2160, 3240, 855, 495}, "win"),
        toggle("Command_alt_r", {5760, 3240, 735, 495}, "Alt"),
        toggle("Command_win_r", {6600, 3240, 735, 495}, "win"),
        toggle("Command_ctrl_r", {8280, 3240, 735, 495}, "Ctrl"),
        // These exist for their handlers and values; none of them is ever shown.
        {.name = "Frame4",
         .kind = Kind::Frame,
         .place = {240, 7320, 1815, 975},
         .caption = "参数设置",
         .visible = false},
        {.name = "Option2",
         .kind = Kind::OptionButton,
         .container = "Frame4",
         .place = {1800, 240, 1335, 255},
         .caption = "循环播放",
         .value = true},
        {.name = "Option1",
         .kind = Kind::OptionButton,
         .container = "Frame4",
         .place = {1800, 600, 1215, 255},
         .caption = "单次播放"},
        {.name = "Command_auto_run",
         .kind = Kind::GraphicalButton,
         .container = "Frame4",
         .place = {120, 360, 1455, 375},
         .caption = "上电自动运行"},
        {.name = "Command2",
         .kind = Kind::PushButton,
         .place = {4320, 1440, 1095, 375},
         .caption = "确定",
         .visible = false},
        {.name = "Command1",
         .kind = Kind::PushButton,
         .place = {6360, 0, 1455, 375},
         .caption = "清除设备键值",
         .visible = false,
         .enabled = false},
        {.name = "Frame2", .kind = Kind::Frame, .place = {120, 8880, 3375, 975}, .visible = false},
        {.name = "TextIW",
         .kind = Kind::TextBox,
         .container = "Frame2",
         .place = {1320, 240, 2895, 495},
         .caption = "AA 03 00 00 00 00 00",
         .enabled = false},
        {.name = "Iwrite",
         .kind = Kind::PushButton,
         .container = "Frame2",
         .place = {240, 240, 855, 495},
         .caption = "写入",
         .enabled = false},
        {.name = "contion",
         .kind = Kind::PushButton,
         .place = {240, 8400, 1455, 255},
         .caption = "连接设备",
         .visible = false,
         .font = kConnectButtonFont},
        {.name = "TextVID",
         .kind = Kind::TextBox,
         .place = {14880, 480, 855, 375},
         .caption = "2704",
         .visible = false},
        {.name = "TextPID",
         .kind = Kind::TextBox,
         .place = {14880, 960, 855, 375},
         .caption = "2018",
         .visible = false},
        {.name = "Label1",
         .kind = Kind::Label,
         .place = {14280, 480, 495, 285},
         .caption = "VID",
         .visible = false,
         .font = kIdLabelFont},
        {.name = "Label2",
         .kind = Kind::Label,
         .place = {14280, 960, 495, 285},
         .caption = "PID",
         .visible = false,
         .font = kIdLabelFont},
    };
}

ControlSpec KeyButton(const KeyEntry& key) {
    const bool inFrame = key.container == KeyContainer::Frame1;
    // Captions come with the key table at start-up; the codeless button keeps its design caption.
    return {.name = KeyButtonName(key.index),
            .kind = Kind::PushButton,
            .container = inFrame ? "Frame1" : "",
            .place = key.place,
            .caption = key.index == kCodelessKeyIndex ? std::string(key.caption) : std::string(),
            .visible = inFrame,
            .keyIndex = key.index};
}

// Tab walks the window as it is read: the settings row, the keyboard row by row, then the log. Made in the
// key table's order, the keys would otherwise be met scattered, the modifiers last.
void NumberTabChain(std::vector<ControlSpec>& controls) {
    const auto named = [&controls](std::string_view name) {
        return std::find_if(controls.begin(), controls.end(),
                            [name](const ControlSpec& c) { return c.name == name; });
    };
    std::vector<std::size_t> keyboard;
    std::vector<TwipRect> places;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].container == "Frame1") {
            keyboard.push_back(i);
            places.push_back(controls[i].place);
        }
    }
    int tab = 0;
    for (std::string_view name : {"Combo1", "Text_delay", "Check_once", "Command_L_btn", "Command_M_btn",
                                  "Command_R_btn", "Command3"}) {
        named(name)->tabIndex = tab++;
    }
    for (std::size_t inFrame : InReadingOrder(places)) {
        controls[keyboard[inFrame]].tabIndex = tab++;
    }
    named("Clear")->tabIndex = tab++;
    named("lstResults")->tabIndex = tab;
}

std::vector<ControlSpec> MakeControlTable() {
    std::vector<ControlSpec> controls = ControlsBeforeKeys();
    for (const KeyEntry& key : KeyTable()) {
        controls.push_back(KeyButton(key));
    }
    for (ControlSpec& control : ControlsAfterKeys()) {
        controls.push_back(std::move(control));
    }
    NumberTabChain(controls);
    return controls;
}

} // namespace

const std::vector<ControlSpec>& ControlTable() {
    static const std::vector<ControlSpec> table = MakeControlTable();
    return table;
}

const ControlSpec* FindControl(std::string_view name) {
    const std::vector<ControlSpec>& table = ControlTable();
    const auto found =
        std::find_if(table.begin(), table.end(), [name](const ControlSpec& c) { return c.name == name; });
    return found == table.end() ? nullptr : &*found;
}

std::string KeyButtonName(int index) {
    return "Command_key_" + std::to_string(index);
}

} // namespace treadkey
