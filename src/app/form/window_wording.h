#pragma once

#include "record/pedal_record.h"

#include "editor/modifier_keys.h"
#include "editor/mouse_buttons.h"
#include "editor/press_text.h"
#include "pedal/pedal_hold.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// Every text the window shows or logs, UTF-8, keyed by control or by purpose. The key buttons' captions are
// the key table's.

inline constexpr std::string_view kWindowTitle = "USB Treadkey KeyMouse Setup V2.4";
// The program's name: the title of the command box's message, the start of its stderr lines.
inline constexpr std::string_view kWindowProgram = "treadkey-setup";

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

// The captions and status texts in one language: the window's font has to draw all the Chinese ones for it to
// start in Chinese.
std::vector<std::string_view> CaptionTexts(bool chinese);

// Why the window starts in English, for the status tooltip and stderr: no font of families (comma-separated)
// draws the Chinese captions; names the Debian package that brings one.
std::string NoChineseFontNote(std::string_view families);
// The same on Windows, where fonts come with the system or are installed by the user, not by a package.
std::string NoChineseFontNoteOnWindows(std::string_view families);

// A text in both languages, for the texts that follow the language switch.
struct BilingualText {
    std::string_view chinese;
    std::string_view english;

    constexpr std::string_view In(bool inChinese) const { return inChinese ? chinese : english; }
};

// The status line after each discovery.
inline constexpr BilingualText kConnectedStatus{"USB设备联接成功", "USB device is connected!"};
inline constexpr BilingualText kNotConnectedStatus{"USB设备联接失败!", "USB device is not connected!"};

// Message boxes.
inline constexpr std::string_view kNotHexMessage = "请输入的数据是16进制的范围";
inline constexpr std::string_view kClearAllQuestion = "确定清空设备所有键值?";
inline constexpr std::string_view kClearAllTitle = "温馨提示";

// Fixed lines of the result list.
inline constexpr std::string_view kWriteFailedLine = "写入失败，请先联接。";
inline constexpr std::string_view kNeverConnectedLine = "Error";
inline constexpr std::string_view kWrittenDataPrefix = "写入数据: ";
inline constexpr std::string_view kSinglePlaybackLine = "单次播放！";
inline constexpr std::string_view kLoopPlaybackLine = "循环播放！";
inline constexpr std::string_view kAutoRunOnLine = "键鼠控制器上电自动运行存储的键值！";
inline constexpr std::string_view kAutoRunOffLine = "键鼠控制器上电不自动运行！";
inline constexpr std::string_view kClearedAllLine = "已清空设备所有键值!";
inline constexpr std::string_view kCloseHidHandleLine = "CloseHandle (HIDHandle)";
inline constexpr std::string_view kCloseReadHandleLine = "CloseHandle (ReadHandle)";

// Starts the window's stderr line about a discovery.
inline constexpr std::string_view kDiscoveryNotePrefix = "treadkey-setup: ";

// "写入键值:  < Ctrl + Shift + A > 到地址3" or "Write Key Val:  < Ctrl + Shift + A > To Address:3".
std::string KeyLogLine(bool chinese, std::uint8_t modifierByte, std::string_view caption,
                       std::string_view slotText);

// "Write Mouse BTN:  < R BTN Click > To Address:2" or its Chinese form; the button is an index into
// kMouseButtons.
std::string MouseLogLine(bool chinese, std::size_t mouseButton, std::string_view slotText);

// What the pedal pressed, for the result list: "踏板输出:  < Ctrl + Shift + A >" or
// "Pedal Sent:  < Ctrl + Shift + A >"; mouse buttons as the mouse log lines name them ("< L BTN Click >").
std::string PedalSentLine(bool chinese, const HeldInputs& pressed);
// What a press holds in the words of the key log line, mouse buttons in the language's words: "Ctrl + A".
std::string PressedText(bool chinese, const HeldInputs& pressed);
// The slot box's tooltip: what the record says the slot holds and since when, or that it does not know.
std::string SlotRecordTooltip(bool chinese, int slot, const RecordedWord& recorded);
// Put after a press line: which slots the record says send what was pressed, or that none does.
std::string RecordedSlotsNote(bool chinese, const std::vector<int>& slots);
// Added to the slot box's tooltip while a write waits to be recorded: another program holds the record's
// lock, and the window records the write at a tick after it lets go.
inline constexpr BilingualText kRecordBehindNote{
    "记录暂未更新：另一个程序正占用记录的锁，它一释放，刚才的写入即补记",
    "The record is behind: another program holds its lock, and the last write is recorded as soon as it "
    "lets go"};
// The status tooltip's note of trouble with the pedal's record: `detail` is the record's own account, a path
// and the system's reason, which stay as they are.
std::string RecordTroubleNote(bool chinese, const std::string& detail);
// The record's account of why no record is kept: no state directory.
std::string NoRecordKeptDetail();

// The status tooltip's note on the pedal's keyboard and mouse interfaces that could not be held: their keys
// also reach the window, which ignores those that come while the pedal is pressed. Empty when none is left
// unheld.
std::string UnheldInputNote(bool chinese, const std::vector<UnheldInterface>& unheld);
// Where the system hands the pedal's keystrokes and clicks over mixed with other keyboards' and mice's
// (`problems`: each refused read's own sentence): the window logs no press of the pedal's and cannot tell its
// keys from the computer's, so it lets them all through. Said on stderr, and in the tooltip in place of the
// unheld note.
std::string MixedInputNote(bool chinese, const std::vector<std::string>& problems);

// The log line of a key delay sent to the device: "按键延时响应时间: 300 ms" or "Key Delay:  300 ms".
std::string KeyDelayLogLine(bool chinese, double roundedDelay);

} // namespace treadkey
