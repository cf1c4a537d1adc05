#include "hid/input_layout.h"

#include <algorithm>
#include <array>

namespace treadkey {
namespace {

constexpr std::uint32_t kConstantFlag = 0x01;
constexpr std::uint32_t kVariableFlag = 0x02;

InputReportLayout& ReportWithId(InputLayout& layout, std::uint8_t reportId) {
    const auto found = std::find_if(layout.reports.begin(), layout.reports.end(),
                                    [&](const InputReportLayout& r) { return r.reportId == reportId; });
    if (found != layout.reports.end()) {
        return *found;
    }
    InputReportLayout& added = layout.reports.emplace_back();
    added.reportId = reportId;
    return added;
}

void AddInput(InputLayout& layout, const MainItem& input) {
    InputReportLayout& report = ReportWithId(layout, input.reportId);
    if ((input.data & kConstantFlag) == 0 && input.bits > 0) {
        report.fields.push_back({input.bitOffset, input.reportSize, input.reportCount,
                                 (input.data & kVariableFlag) != 0, input.logicalMinimum,
                                 input.logicalMaximum,
                                 std::vector<UsageRange>(input.usages.begin(), input.usages.end())});
    }
    report.bits = input.bitOffset + input.bits;
}

// The boot keyboard; its only output is the LED report, 5 LED bits padded to one byte.
constexpr std::array<std::uint8_t, 63> kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,                                     // Keyboard
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, // modifier bits
    0x95, 0x08, 0x81, 0x02,                                                 //
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01,                                     // reserved byte
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, // 5 LEDs
    0x95, 0x01, 0x75, 0x03, 0x91, 0x01,                                     // LED padding
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, // 6 key codes
    0x29, 0x65, 0x81, 0x00,                                                 //
    0xC0,
};

// The boot mouse: three buttons and X/Y inside a Physical collection nested in the Application one.
constexpr std::array<std::uint8_t, 50> kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,                         // Mouse
    0x09, 0x01, 0xA1, 0x00,                                     //   Pointer (Physical, nested)
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, //     3 buttons
    0x95, 0x03, 0x75, 0x01, 0x81, 0x02,                         //
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01,                         //     padding
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, //     X, Y
    0x75, 0x08, 0x95, 0x02, 0x81, 0x06,                         //
    0xC0,                                                       //   End Collection
    0xC0,
};

} // namespace

std::optional<HidUsage> InputField::UsageAt(std::uint64_t index) const {
    for (const UsageRange& range : usages) {
        if (index < range.count) {
            return HidUsage{range.first.page, static_cast<std::uint16_t>(range.first.usage + index)};
        }
        index -= range.count;
    }
    if (variable && !usages.empty()) {
        const UsageRange& last = usages.back();
        return HidUsage{last.first.page, static_cast<std::uint16_t>(last.first.usage + last.count - 1)};
    }
    return std::nullopt;
}

const InputReportLayout* InputLayout::Find(std::uint8_t reportId) const {
    for (const InputReportLayout& report : reports) {
        if (report.reportId == reportId) {
            return &report;
        }
    }
    return nullptr;
}

std::optional<InputLayout> InputLayoutFromDescriptor(std::span<const std::uint8_t> descriptor) {
    InputLayout layout;
    const std::optional<DescriptorRead> read = ReadDescriptor(descriptor, [&layout](const MainItem& item) {
        if (item.kind == MainItemKind::Input) {
            AddInput(layout, item);
        }
    });
    if (!read) {
        return std::nullopt;
    }
    layout.numbered = read->numbered;
    return layout;
}

std::span<const std::uint8_t> BootKeyboardDescriptor() {
    return kBootKeyboard;
}

std::span<const std::uint8_t> BootMouseDescriptor() {
    return kBootMouse;
}

const InputLayout& BootKeyboardLayout() {
    static const InputLayout layout = *InputLayoutFromDescriptor(kBootKeyboard);
    return layout;
}

const InputLayout& BootMouseLayout() {
    static const InputLayout layout = *InputLayoutFromDescriptor(kBootMouse);
    return layout;
}

} // namespace treadkey
