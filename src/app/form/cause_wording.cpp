#include "app/form/cause_wording.h"

namespace treadkey {

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

} // namespace treadkey
