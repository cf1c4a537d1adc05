#include "pedal/discovery_words.h"

#include "protocol/frame_layout.h"

#include <array>

namespace treadkey {

namespace {

struct Words {
    std::string_view english;
    std::string_view chinese;

    std::string_view In(bool inChinese) const { return inChinese ? chinese : english; }
};

} // namespace

std::string_view CollectionKindName(CollectionKind kind, bool chinese) {
    // In the order of CollectionKind.
    static constexpr std::array<Words, 14> kNames = {{{"pointer", "指针"},
                                                      {"mouse", "鼠标"},
                                                      {"keyboard", "键盘"},
                                                      {"keypad", "小键盘"},
                                                      {"digitizer", "数字化仪"},
                                                      {"pen", "触控笔"},
                                                      {"touch screen", "触摸屏"},
                                                      {"touch pad", "触摸板"},
                                                      {"joystick", "游戏杆"},
                                                      {"game pad", "游戏手柄"},
                                                      {"system control", "系统控制"},
                                                      {"consumer control", "多媒体控制"},
                                                      {"vendor-defined", "厂商自定义"},
                                                      {"other usage", "其他用途"}}};
    static_assert(kNames.size() == static_cast<std::size_t>(CollectionKind::Other) + 1);
    return kNames[static_cast<std::size_t>(kind)].In(chinese);
}

std::string ByteCount(int count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

std::string CannotHoldFrameReason(const SeenInterface& seen) {
    if (!seen.outputReportLength) {
        return "its output report length is unknown";
    }
    return "its output report of " + ByteCount(*seen.outputReportLength) + " cannot hold a frame";
}

std::string CutsFramesReason(int outputReportLength) {
    return "its output report of " + ByteCount(outputReportLength) + " cannot hold a whole frame (" +
           ByteCount(kFrameReportLength) + ")";
}

std::string_view NoteHeadline(DiscoveryNote note, bool chinese) {
    // In the order of DiscoveryNote.
    static constexpr std::array<Words, 4> kHeadlines = {{
        {"", ""},
        {"no configuration interface of the pedal", "未找到踏板的配置接口"},
        {"the pedal cannot be opened", "无法打开踏板"},
        {"this may not be the pedal's configuration interface", "这可能不是踏板的配置接口"},
    }};
    static_assert(kHeadlines.size() == static_cast<std::size_t>(DiscoveryNote::ShortOutputReport) + 1);
    return kHeadlines[static_cast<std::size_t>(note)].In(chinese);
}

} // namespace treadkey
