#include "app/form/discovery_wording.h"

#include "diagnosis/refusal_cause.h"
#include "pedal/discovery_words.h"
#include "pedal/interface_choice.h"

namespace treadkey {
namespace {

// Where the Chinese tooltip sends the user for every check.
constexpr std::string_view kChineseRunDoctor = "运行 treadkeyctl doctor 查看全部检查";

// The Chinese sentence for each cause doctor finds; the English ones are doctor's own.
std::string ChineseCauseSentence(const Finding& finding) {
    switch (finding.cause) {
    case Cause::NotPresent:
        return "踏板未插入：没有厂商号 2704、产品号 2018 的 HID 设备";
    case Cause::NoConfigurationInterface:
        return "踏板只显示键盘和鼠标接口，它们由系统独占";
    case Cause::SandboxHidesNode:
        return finding.node + " 不可见：程序运行在没有设备访问权的 Flatpak 沙箱中";
    case Cause::NodeMissing:
        return finding.node + " 不存在，但内核列出了它：udev 尚未创建该节点";
    case Cause::RuleMissing:
        return "没有 udev 规则指名踏板，只有 root 能打开 " + finding.node;
    case Cause::RuleMasked:
        return finding.otherFile + " 屏蔽了 " + finding.file + "：udev 只读前者，它没有给 " + finding.node +
               " 任何权限";
    case Cause::RuleWrongSubsystem:
        return finding.file + " 指名了踏板，但没有一条规则匹配 hidraw 节点，" + finding.node +
               " 什么也没得到";
    case Cause::RuleAfterSeatLate:
        return finding.file + " 排在 73-seat-late.rules 之后，uaccess 标记来得太晚，" + finding.node +
               " 没有得到它";
    case Cause::NoUdev:
        return "这里没有运行 udev，规则到不了 " + finding.node;
    case Cause::RuleNotApplied:
        return finding.file + " 已安装，但 udev 尚未把它用于 " + finding.node +
               "：需要 udevadm trigger 或重新插拔";
    case Cause::NoLogind:
        return "系统没有 logind，uaccess 标记不会把 " + finding.node + " 交给任何人";
    case Cause::NoSession:
        return "你不在登录会话中（cron、sudo 或 su），uaccess 只服务会话";
    case Cause::RemoteSession:
        return "你的会话是远程的（ssh），uaccess 只把 " + finding.node + " 交给本地的活动会话";
    case Cause::InactiveSession:
        return "你的会话不是座席上的活动会话，uaccess 只把 " + finding.node + " 交给活动会话";
    case Cause::NotInGroup:
        return "规则把 " + finding.node + " 交给组“" + finding.file + "”，而你不在该组中";
    case Cause::NoAccess:
        break;
    }
    return "你无法以写方式打开 " + finding.node + "，虽然规则、udev 和会话看来都正确";
}

// "/dev/hidraw0 (keyboard, consumer control)"
std::string Named(const HidInterface& interface, bool chinese) {
    std::string names;
    for (const HidCollection& collection : interface.collections) {
        if (!names.empty()) {
            names += chinese ? "、" : ", ";
        }
        const CollectionKind kind = CollectionKindOf(collection);
        names += CollectionKindName(kind, chinese);
        if (kind == CollectionKind::Other) {
            names += " " + UsageHex(collection);
        }
    }
    if (names.empty()) {
        names = chinese ? "用途未知" : "usage unknown";
    }
    return interface.path + (chinese ? "（" + names + "）" : " (" + names + ")");
}

std::string OpenFailureText(const SeenInterface& seen, bool chinese,
                            const std::optional<Finding>& refusalCause) {
    const bool denied = seen.openFailure == OpenFailure::PermissionDenied;
    if (!chinese) {
        return " does not open: " + (denied && refusalCause
                                         ? RefusalSentence(seen.interface.path, *refusalCause)
                                         : seen.openProblem);
    }
    if (denied && refusalCause) {
        return "没有访问权限：" + ChineseCauseSentence(*refusalCause) + "；" + std::string(kChineseRunDoctor);
    }
    switch (seen.openFailure) {
    case OpenFailure::PermissionDenied:
        return "没有访问权限：请按 README“Installing on a desktop”一节授予权限，然后重新插拔踏板";
    case OpenFailure::Gone:
        return "已不存在：请重新插拔踏板";
    case OpenFailure::NotHid:
        return "不是 HID 设备";
    default:
        break;
    }
    return "无法打开：" + seen.openProblem;
}

// Why an interface that opens does not take the frames: its report cannot be shown to hold one.
std::string TooShortText(const SeenInterface& seen, bool chinese) {
    if (!chinese) {
        return " opens, but " + CannotHoldFrameReason(seen);
    }
    return seen.outputReportLength
               ? "的输出报告只有 " + std::to_string(*seen.outputReportLength) + " 字节，放不下一帧"
               : "的输出报告长度未知";
}

std::string Clause(const SeenInterface& seen, const std::string& chosenPath, bool chinese,
                   const std::optional<Finding>& refusalCause) {
    const std::string named = Named(seen.interface, chinese);
    switch (seen.verdict) {
    case InterfaceVerdict::HeldBySystem:
        return named + (chinese ? "由系统独占，已跳过" : " is passed over: the system keeps it to itself");
    case InterfaceVerdict::DoesNotOpen:
        return named + OpenFailureText(seen, chinese, refusalCause);
    case InterfaceVerdict::Chosen: {
        const int length = seen.outputReportLength.value_or(0);
        if (!chinese) {
            return named + " takes the frames, but " + CutsFramesReason(length);
        }
        return named + "的输出报告只有 " + std::to_string(length) + " 字节，放不下完整的一帧（" +
               std::to_string(kFrameReportLength) + " 字节）";
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

std::string Headline(DiscoveryNote note, bool chinese) {
    if (note == DiscoveryNote::None) {
        return "";
    }
    return std::string(NoteHeadline(note, chinese)) + (chinese ? "：" : ": ");
}

// The pedals plugged in besides the one taken, listed.
std::string OtherPedals(const DiscoveryReport& report, bool chinese) {
    std::string others;
    for (const std::string& pedal : report.pedals) {
        if (pedal != report.pedal) {
            others += (others.empty() ? "" : (chinese ? "、" : ", ")) + pedal;
        }
    }
    return others;
}

} // namespace

std::string ExplainDiscovery(const DiscoveryReport& report, bool chinese,
                             const std::optional<Finding>& refusalCause) {
    if (report.seen.empty() && report.pedals.empty()) {
        return chinese
                   ? "未找到带踏板 ID（厂商 2704，产品 2018）的设备：踏板插好了吗？可运行 treadkeyctl doctor "
                     "进一步检查。"
                   : "no device with the pedal's ids (vendor 2704, product 2018) is present: is it "
                     "plugged in? Run 'treadkeyctl doctor' to look further.";
    }
    const std::string chosenPath = ChosenPath(report);
    std::string clauses;
    for (const SeenInterface& seen : report.seen) {
        if (Explains(report.note, seen)) {
            clauses += (clauses.empty() ? ""
                        : chinese       ? "；"
                                        : "; ") +
                       Clause(seen, chosenPath, chinese, refusalCause);
        }
    }
    return clauses.empty() ? clauses : Headline(report.note, chinese) + clauses;
}

std::string DescribePedalChoice(const DiscoveryReport& report, const std::string& wanted, bool chinese) {
    const std::string others = OtherPedals(report, chinese);
    const std::string unused = others.empty() ? std::string()
                               : chinese      ? "插着的其他踏板（" + others + "）不会被使用。"
                                              : " The other pedals plugged in (" + others + ") are not used.";
    if (!wanted.empty()) {
        if (report.pedal != wanted) {
            return (chinese ? "等待踏板 " + wanted + "：它没有插上。"
                            : "Waiting for pedal " + wanted + ": it is not plugged in.") +
                   unused;
        }
        return (chinese ? "按 --pedal 使用踏板 " + wanted + "。"
                        : "Using pedal " + wanted + ", as --pedal asks.") +
               unused;
    }
    if (report.pedal.empty() || others.empty()) {
        return {};
    }
    return chinese ? "使用踏板 " + report.pedal + "（插着的第一个）。还插着其他踏板：" + others +
                         "；用 --pedal ID 启动可选择其中一个。"
                   : "Using pedal " + report.pedal +
                         ", the first plugged in. Other pedals are plugged in too: " + others +
                         "; start with --pedal ID to choose one.";
}

} // namespace treadkey
