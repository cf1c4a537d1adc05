#include "app/discovery_wording.h"

#include "device/collection_kind.h"
#include "device/interface_choice.h"

#include <cstdio>
#include <string_view>

namespace treadkey {
namespace {

struct Words {
    std::string_view chinese;
    std::string_view english;

    std::string_view in(bool inChinese) const { return inChinese ? chinese : english; }
};

Words KindName(CollectionKind kind) {
    switch (kind) {
    case CollectionKind::Pointer:
        return {"指针", "pointer"};
    case CollectionKind::Mouse:
        return {"鼠标", "mouse"};
    case CollectionKind::Keyboard:
        return {"键盘", "keyboard"};
    case CollectionKind::Keypad:
        return {"小键盘", "keypad"};
    case CollectionKind::Digitizer:
        return {"数字化仪", "digitizer"};
    case CollectionKind::Pen:
        return {"触控笔", "pen"};
    case CollectionKind::TouchScreen:
        return {"触摸屏", "touch screen"};
    case CollectionKind::TouchPad:
        return {"触摸板", "touch pad"};
    case CollectionKind::Joystick:
        return {"游戏杆", "joystick"};
    case CollectionKind::GamePad:
        return {"游戏手柄", "game pad"};
    case CollectionKind::SystemControl:
        return {"系统控制", "system control"};
    case CollectionKind::ConsumerControl:
        return {"多媒体控制", "consumer control"};
    case CollectionKind::VendorDefined:
        return {"厂商自定义", "vendor-defined"};
    case CollectionKind::Other:
        break;
    }
    return {"其他用途", "other usage"};
}

// "/dev/hidraw0 (keyboard, consumer control)"
std::string Named(const HidInterface& interface, bool chinese) {
    std::string names;
    for (const HidCollection& collection : interface.collections) {
        if (!names.empty()) {
            names += chinese ? "、" : ", ";
        }
        names += KindName(CollectionKindOf(collection)).in(chinese);
        if (CollectionKindOf(collection) == CollectionKind::Other) {
            char usage[16];
            std::snprintf(usage, sizeof usage, " %04X:%04X", collection.usagePage, collection.usage);
            names += usage;
        }
    }
    if (names.empty()) {
        names = chinese ? "用途未知" : "usage unknown";
    }
    return interface.path + (chinese ? "（" + names + "）" : " (" + names + ")");
}

std::string OpenFailureText(const SeenInterface& seen, bool chinese) {
    if (!chinese) {
        return " does not open: " + seen.openProblem;
    }
    switch (seen.openFailure) {
    case OpenFailure::PermissionDenied:
        return "没有访问权限：请按 README“Installing on a desktop”一节授予权限，然后重新插拔踏板";
    case OpenFailure::Gone:
        return "已不存在：请重新插拔踏板";
    case OpenFailure::NotHid:
        return "不是 HID 设备";
    case OpenFailure::Unknown:
        break;
    }
    return "无法打开：" + seen.openProblem;
}

// Why an interface that opens does not take the frames: its report cannot be shown to hold one.
std::string TooShortText(const SeenInterface& seen, bool chinese) {
    if (!seen.outputReportLength) {
        return chinese ? "的输出报告长度未知" : " opens, but its output report length is unknown";
    }
    const std::string length = std::to_string(*seen.outputReportLength);
    return chinese ? "的输出报告只有 " + length + " 字节，放不下一帧"
                   : " opens, but its output report of " + length + " bytes cannot hold a frame";
}

std::string Clause(const SeenInterface& seen, const std::string& chosenPath, bool chinese) {
    const std::string named = Named(seen.interface, chinese);
    switch (seen.verdict) {
    case InterfaceVerdict::HeldBySystem:
        return named + (chinese ? "由系统独占，已跳过" : " is passed over: the system keeps it to itself");
    case InterfaceVerdict::DoesNotOpen:
        return named + OpenFailureText(seen, chinese);
    case InterfaceVerdict::Chosen: {
        const std::string length = std::to_string(seen.outputReportLength.value_or(0));
        const std::string whole = std::to_string(kFrameReportLength);
        return chinese ? named + "的输出报告只有 " + length + " 字节，放不下完整的一帧（" + whole + " 字节）"
                       : named + " takes the frames, but its output report of " + length +
                             " bytes cannot hold a whole frame (" + whole + " bytes)";
    }
    case InterfaceVerdict::CannotHoldFrame:
        return named + TooShortText(seen, chinese) + (chinese ? "；帧发往 " : "; the frames go to ") +
               chosenPath;
    case InterfaceVerdict::NotChosen:
        break;
    }
    return named;
}

// Which interfaces a run with this note explains: the chosen one for its short report, those passed over
// for theirs beside a chosen one that takes whole frames, and every one when none was taken.
bool Explains(DiscoveryNote note, const SeenInterface& seen) {
    switch (note) {
    case DiscoveryNote::ShortOutputReport:
        return seen.verdict == InterfaceVerdict::Chosen;
    case DiscoveryNote::None:
        return seen.verdict == InterfaceVerdict::CannotHoldFrame;
    case DiscoveryNote::NoConfigurationInterface:
    case DiscoveryNote::NoneOpens:
        break;
    }
    return true;
}

Words Headline(DiscoveryNote note) {
    switch (note) {
    case DiscoveryNote::NoConfigurationInterface:
        return {"未找到踏板的配置接口：", "no configuration interface of the pedal: "};
    case DiscoveryNote::NoneOpens:
        return {"无法打开踏板：", "the pedal cannot be opened: "};
    case DiscoveryNote::ShortOutputReport:
        return {"这可能不是踏板的配置接口：", "this may not be the pedal's configuration interface: "};
    case DiscoveryNote::None:
        break;
    }
    return {"", ""};
}

} // namespace

std::string ExplainDiscovery(const DiscoveryReport& report, bool chinese) {
    const std::string chosenPath = ChosenPath(report);
    std::string clauses;
    for (const SeenInterface& seen : report.seen) {
        if (Explains(report.note, seen)) {
            clauses += (clauses.empty() ? "" : chinese ? "；" : "; ") + Clause(seen, chosenPath, chinese);
        }
    }
    return clauses.empty() ? clauses : std::string(Headline(report.note).in(chinese)) + clauses;
}

} // namespace treadkey
