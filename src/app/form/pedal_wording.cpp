#include "app/form/pedal_wording.h"

namespace treadkey {
namespace {

std::string Others(const DiscoveryReport& report, bool chinese) {
    std::string others;
    for (const std::string& pedal : report.pedals) {
        if (pedal != report.pedal) {
            others += (others.empty() ? "" : (chinese ? "、" : ", ")) + pedal;
        }
    }
    return others;
}

} // namespace

std::string DescribePedalChoice(const DiscoveryReport& report, const std::string& wanted, bool chinese) {
    const std::string others = Others(report, chinese);
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
