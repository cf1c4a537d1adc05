#include "hid/input_report.h"

#include <algorithm>

namespace treadkey {
namespace {

constexpr std::uint16_t kFirstModifierUsage = 0xE0;
constexpr std::uint16_t kLastModifierUsage = 0xE7;
constexpr std::uint16_t kLastKeyboardErrorUsage = 0x03; // ErrorRollOver, POSTFail, ErrorUndefined
constexpr std::uint16_t kLastBitButton = 32;
// Values wider than this are positions or offsets, never a press.
constexpr std::uint32_t kMaxValueBits = 32;

// `size` bits from `bitOffset` on, least significant bit first; the caller keeps them inside `data`.
std::uint32_t ReadBits(std::span<const std::uint8_t> data, std::uint64_t bitOffset, std::uint32_t size) {
    std::uint32_t value = 0;
    for (std::uint32_t bit = 0; bit < size; ++bit) {
        const std::uint64_t at = bitOffset + bit;
        if (((data[at / 8] >> (at % 8)) & 1) != 0) {
            value |= std::uint32_t{1} << bit;
        }
    }
    return value;
}

std::int64_t Signed(std::uint32_t value, std::uint32_t size) {
    if (size == 0 || size >= 64 || (value >> (size - 1)) == 0) {
        return value;
    }
    return static_cast<std::int64_t>(value) - (std::int64_t{1} << size);
}

template <typename T> void AddOnce(std::vector<T>& list, T item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(item);
    }
}

// Files a usage that is down; false when it is a keyboard's error code.
bool Hold(HidUsage usage, HeldInputs& held) {
    if (usage.usage == 0) {
        return true; // "no event"
    }
    if (usage.page == kKeyboardUsagePage) {
        if (usage.usage <= kLastKeyboardErrorUsage) {
            return false;
        }
        if (usage.usage >= kFirstModifierUsage && usage.usage <= kLastModifierUsage) {
            held.modifiers |= static_cast<std::uint8_t>(1U << (usage.usage - kFirstModifierUsage));
        } else {
            AddOnce(held.keys, usage.usage);
        }
    } else if (usage.page == kButtonUsagePage && usage.usage <= kLastBitButton) {
        held.buttons |= std::uint32_t{1} << (usage.usage - 1);
    } else {
        AddOnce(held.other, usage);
    }
    return true;
}

bool ReadField(const InputField& field, std::span<const std::uint8_t> data, HeldInputs& held) {
    if (field.size > kMaxValueBits) {
        return true;
    }
    // A variable counts as held when it is an on/off control that is on; axes and counters are not presses.
    const bool onOff = field.size == 1 || (field.logicalMinimum == 0 && field.logicalMaximum == 1);
    for (std::uint32_t i = 0; i < field.count; ++i) {
        const std::uint32_t raw = ReadBits(data, field.bitOffset + std::uint64_t{i} * field.size, field.size);
        std::optional<HidUsage> usage;
        if (field.variable) {
            if (onOff && raw != 0) {
                usage = field.UsageAt(i);
            }
        } else {
            const std::int64_t value = field.logicalMinimum < 0 ? Signed(raw, field.size) : std::int64_t{raw};
            // A value outside the logical range is the array's way of saying "nothing here".
            if (value >= field.logicalMinimum && value <= field.logicalMaximum) {
                usage = field.UsageAt(static_cast<std::uint64_t>(value - field.logicalMinimum));
            }
        }
        if (usage && !Hold(*usage, held)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<DecodedInputReport> DecodeInputReport(const InputLayout& layout,
                                                    std::span<const std::uint8_t> report) {
    if (report.empty()) {
        return std::nullopt;
    }
    const std::uint8_t reportId = layout.numbered ? report[0] : 0;
    const InputReportLayout* const reportLayout = layout.Find(reportId);
    const std::span<const std::uint8_t> data = layout.numbered ? report.subspan(1) : report;
    if (reportLayout == nullptr || reportLayout->bits == 0 ||
        std::uint64_t{data.size()} * 8 < reportLayout->bits) {
        return std::nullopt;
    }
    DecodedInputReport decoded;
    decoded.reportId = reportId;
    for (const InputField& field : reportLayout->fields) {
        if (!ReadField(field, data, decoded.held)) {
            return std::nullopt;
        }
    }
    return decoded;
}

} // namespace treadkey
