#include "app/form/window_wording.h"

#include "record/record_words.h"
#include "record/slot_press.h"
#include "record/state_file.h"

#include "protocol/number_text.h"
#include "protocol/slot_number.h"

#include <algorithm>
#include <utility>

namespace treadkey {

namespace {

// A click of each mouse button as the log lines name it, in the order of kMouseButtons.
constexpr std::array<BilingualText, kMouseButtons.size()> kMouseClickTexts = {{
    {"左键单击", "L BTN Click"},
    {"中键单击", "M BTN Click"},
    {"右键单击", "R BTN Click"},
}};

// The button of a mouse report's bit (bit 0 left, 1 right, 2 middle) as the log names it; buttons no slot can
// click by their number.
std::string ButtonText(bool chinese, std::size_t bit) {
    for (std::size_t i = 0; i < kMouseButtons.size(); ++i) {
        if (kMouseButtons[i].code == 1 << bit) {
            return std::string(kMouseClickTexts[i].In(chinese));
        }
    }
    return "BTN " + std::to_string(bit + 1);
}

} // namespace

std::vector<std::string_view> CaptionTexts(bool chinese) {
    std::vector<std::string_view> texts;
    for (const SwitchableCaption& caption : kSwitchableCaptions) {
        texts.push_back(chinese ? caption.chinese : caption.english);
    }
    texts.push_back(kConnectedStatus.In(chinese));
    texts.push_back(kNotConnectedStatus.In(chinese));
    return texts;
}

std::string NoChineseFontNote(std::string_view families) {
    return "no installed font draws the Chinese captions (looked for " + std::string(families) +
           "), so the window starts in English; install the package fonts-wqy-microhei to see it in Chinese";
}

std::string NoChineseFontNoteOnWindows(std::string_view families) {
    return "no installed font draws the Chinese captions (looked for " + std::string(families) +
           "), so the window starts in English; install a font that draws Chinese, such as SimSun, to see it "
           "in "
           "Chinese";
}

std::string KeyLogLine(bool chinese, std::uint8_t modifierByte, std::string_view caption,
                       std::string_view slotText) {
    const std::string keys = ModifierLogText(modifierByte) + std::string(caption);
    const std::string slot = SlotNumberText(slotText);
    return chinese ? "写入键值:  < " + keys + " > 到地址" + slot
                   : "Write Key Val:  < " + keys + " > To Address:" + slot;
}

std::string MouseLogLine(bool chinese, std::size_t mouseButton, std::string_view slotText) {
    const std::string click(kMouseClickTexts[mouseButton].In(chinese));
    const std::string slot = SlotNumberText(slotText);
    return chinese ? "写入鼠标键值:  < " + click + " > 到地址" + slot
                   : "Write Mouse BTN:  < " + click + " > To Address:" + slot;
}

std::string PressedText(bool chinese, const HeldInputs& pressed) {
    std::string inside = PressedKeysText(pressed);
    constexpr std::size_t kButtonBits = 32;
    for (std::size_t bit = 0; bit < kButtonBits; ++bit) {
        if (((pressed.buttons >> bit) & 1U) != 0) {
            inside += (inside.empty() ? "" : " + ") + ButtonText(chinese, bit);
        }
    }
    return inside;
}

std::string PedalSentLine(bool chinese, const HeldInputs& pressed) {
    return std::string(chinese ? "踏板输出:  < " : "Pedal Sent:  < ") + PressedText(chinese, pressed) + " >";
}

std::string SlotRecordTooltip(bool chinese, int slot, const RecordedWord& recorded) {
    const std::string number = std::to_string(slot);
    if (recorded.source == WordSource::Unknown) {
        const std::string note =
            recorded.note.empty() ? "" : (chinese ? "（" : " (") + recorded.note + (chinese ? "）" : ")");
        return chinese ? "记录中地址" + number + "的内容未知" + note
                       : "By the record, slot " + number + " is unknown" + note;
    }
    const std::optional<HeldInputs> press = PressOf(recorded.word);
    const std::string value =
        press ? "< " + PressedText(chinese, *press) + " >" : (chinese ? "已清除" : "cleared");
    const std::string since = !chinese ? ", " + SourceText(recorded)
                              : recorded.source == WordSource::Written
                                  ? "，" + recorded.when + " 由 " + recorded.program + " 写入"
                                  : "，" + recorded.when + " 按下时确认";
    return chinese ? "记录：地址" + number + "为 " + value + since
                   : "By the record, slot " + number + " holds " + value + since;
}

std::string RecordedSlotsNote(bool chinese, const std::vector<int>& slots) {
    if (slots.empty()) {
        return chinese ? "（记录中没有地址存有此键）" : " (no slot holds it by the record)";
    }
    std::string numbers;
    for (const int slot : slots) {
        numbers += (numbers.empty() ? "" : (chinese ? "、" : ", ")) + std::to_string(slot);
    }
    if (chinese) {
        return "（记录：地址" + numbers + "）";
    }
    return std::string(slots.size() == 1 ? " (slot " : " (slots ") + numbers + " by the record)";
}

std::string RecordTroubleNote(bool chinese, const std::string& detail) {
    return (chinese ? "踏板的记录出了问题：" : "Trouble with the pedal's record: ") + detail;
}

std::string NoRecordKeptDetail() {
    return "no record is kept: " + std::string(kNoStateDirectoryReason);
}

std::string UnheldInputNote(bool chinese, const std::vector<UnheldInterface>& unheld) {
    if (unheld.empty()) {
        return {};
    }
    std::string text = chinese
                           ? "踏板的按键也会送到本窗口，踏板按下期间收到的按键一律忽略："
                           : "the pedal's keys also reach this window, which ignores keys that come while "
                             "the pedal is pressed: ";
    for (std::size_t i = 0; i < unheld.size(); ++i) {
        const UnheldInterface& interface = unheld[i];
        if (i > 0) {
            text += chinese ? "；" : "; ";
        }
        switch (interface.refusal) {
        case HoldRefusal::NotOffered:
            text += interface.path + (chinese ? "在此无法独占" : " cannot be held here");
            break;
        case HoldRefusal::PermissionDenied:
            text += chinese ? interface.path + "的输入设备没有访问权限：请按 README“Installing on a desktop”"
                                               "一节授予权限，然后重新插拔踏板"
                            : interface.problem;
            break;
        case HoldRefusal::Failed:
            text += chinese ? interface.path + "无法独占：" + interface.problem : interface.problem;
            break;
        }
    }
    return text;
}

std::string MixedInputNote(bool chinese, const std::vector<std::string>& problems) {
    std::string text = chinese
                           ? "踏板的按下不会记入列表，它输入的按键像任何键盘的按键一样送到本窗口："
                           : "the pedal's presses are not logged, and the keys it types reach this window "
                             "like any keyboard's: ";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        text += (i > 0 ? (chinese ? "；" : "; ") : "") + problems[i];
    }
    return text;
}

std::string KeyDelayLogLine(bool chinese, double roundedDelay) {
    const char* label = chinese ? "按键延时响应时间: " : "Key Delay:  ";
    return label + ShortestDecimalText(roundedDelay) + " ms";
}

} // namespace treadkey
