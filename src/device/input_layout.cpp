#include "device/input_layout.h"

#include "device/report_items.h"

#include <algorithm>
#include <array>

namespace treadkey {
namespace {

using namespace report_items;

// Data bits that still fit beside the report-id byte of a 65535-byte report.
constexpr std::uint64_t kMaxInputBits = std::uint64_t{65535 - 1} * 8;
constexpr std::uint32_t kConstantFlag = 0x01;
constexpr std::uint32_t kVariableFlag = 0x02;

struct Globals {
    std::uint16_t usagePage = 0;
    std::uint32_t logicalMinimum = 0;
    std::size_t logicalMinimumSize = 0;
    std::uint32_t logicalMaximum = 0;
    std::size_t logicalMaximumSize = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

std::int64_t SignExtend(std::uint32_t value, std::size_t dataSize) {
    switch (dataSize) {
    case 1:
        return static_cast<std::int8_t>(value);
    case 2:
        return static_cast<std::int16_t>(value);
    case 4:
        return static_cast<std::int32_t>(value);
    default:
        return 0;
    }
}

// A usage as written: a four-byte one carries its page, a shorter one takes the page in effect at the main
// item.
struct WrittenUsage {
    std::uint32_t value = 0;
    bool extended = false;

    HidUsage Resolve(std::uint16_t page) const {
        return extended ? HidUsage{static_cast<std::uint16_t>(value >> 16),
                                   static_cast<std::uint16_t>(value & 0xFFFF)}
                        : HidUsage{page, static_cast<std::uint16_t>(value)};
    }
};

class LayoutBuilder {
public:
    bool onItem(std::uint8_t type, std::uint8_t tag, std::uint32_t value, std::size_t dataSize) {
        switch (type) {
        case kMainItem:
            return onMainItem(tag, value);
        case kGlobalItem:
            return onGlobalItem(tag, value, dataSize);
        case kLocalItem:
            return onLocalItem(tag, value, dataSize);
        default:
            return true;
        }
    }

    std::optional<InputLayout> finish() && {
        if (depth_ != 0) {
            return std::nullopt;
        }
        layout_.numbered = numbered_;
        return std::move(layout_);
    }

private:
    bool onMainItem(std::uint8_t tag, std::uint32_t flags) {
        bool wellFormed = true;
        if (tag == kInputTag) {
            wellFormed = addInput(flags);
        } else if (tag == kCollectionTag) {
            ++depth_;
        } else if (tag == kEndCollectionTag) {
            wellFormed = depth_ > 0;
            depth_ -= wellFormed ? 1 : 0;
        }
        // Local items last until the next main item.
        ranges_.clear();
        pendingMinimum_.reset();
        return wellFormed;
    }

    bool addInput(std::uint32_t flags) {
        InputReportLayout& report = reportWithId(globals_.reportId);
        const std::uint64_t bits = std::uint64_t{globals_.reportSize} * globals_.reportCount;
        if (bits > kMaxInputBits - report.bits) {
            return false;
        }
        if ((flags & kConstantFlag) == 0 && bits > 0) {
            InputField field;
            field.bitOffset = report.bits;
            field.size = globals_.reportSize;
            field.count = globals_.reportCount;
            field.variable = (flags & kVariableFlag) != 0;
            field.logicalMinimum = SignExtend(globals_.logicalMinimum, globals_.logicalMinimumSize);
            // A maximum reads unsigned beside a minimum that is not negative: 0..255 is written 15 00 25 FF.
            field.logicalMaximum = field.logicalMinimum < 0
                                       ? SignExtend(globals_.logicalMaximum, globals_.logicalMaximumSize)
                                       : std::int64_t{globals_.logicalMaximum};
            for (const auto& [first, count] : ranges_) {
                field.usages.push_back({first.Resolve(globals_.usagePage), count});
            }
            report.fields.push_back(std::move(field));
        }
        report.bits += static_cast<std::uint32_t>(bits);
        return true;
    }

    InputReportLayout& reportWithId(std::uint8_t reportId) {
        const auto found = std::find_if(layout_.reports.begin(), layout_.reports.end(),
                                        [&](const InputReportLayout& r) { return r.reportId == reportId; });
        if (found != layout_.reports.end()) {
            return *found;
        }
        InputReportLayout& added = layout_.reports.emplace_back();
        added.reportId = reportId;
        return added;
    }

    bool onGlobalItem(std::uint8_t tag, std::uint32_t value, std::size_t dataSize) {
        switch (tag) {
        case kUsagePageTag:
            globals_.usagePage = static_cast<std::uint16_t>(value);
            return true;
        case kLogicalMinimumTag:
            globals_.logicalMinimum = value;
            globals_.logicalMinimumSize = dataSize;
            return true;
        case kLogicalMaximumTag:
            globals_.logicalMaximum = value;
            globals_.logicalMaximumSize = dataSize;
            return true;
        case kReportSizeTag:
            globals_.reportSize = value;
            return true;
        case kReportCountTag:
            globals_.reportCount = value;
            return true;
        case kReportIdTag:
            if (value == 0 || value > 0xFF) {
                return false;
            }
            globals_.reportId = static_cast<std::uint8_t>(value);
            numbered_ = true;
            return true;
        case kPushTag:
            if (stack_.size() == kMaxGlobalStackDepth) {
                return false;
            }
            stack_.push_back(globals_);
            return true;
        case kPopTag:
            if (stack_.empty()) {
                return false;
            }
            globals_ = stack_.back();
            stack_.pop_back();
            return true;
        default:
            return true;
        }
    }

    bool onLocalItem(std::uint8_t tag, std::uint32_t value, std::size_t dataSize) {
        const WrittenUsage usage{value, dataSize == 4};
        switch (tag) {
        case kUsageTag:
            ranges_.push_back({usage, 1});
            return true;
        case kUsageMinimumTag:
            pendingMinimum_ = usage;
            return true;
        case kUsageMaximumTag: {
            // A maximum without its minimum, or below it, names nothing.
            if (!pendingMinimum_) {
                return true;
            }
            const std::uint16_t low = pendingMinimum_->Resolve(0).usage;
            const std::uint16_t high = usage.Resolve(0).usage;
            if (high >= low) {
                ranges_.push_back(
                    {*pendingMinimum_, static_cast<std::uint16_t>(std::min(high - low + 1, 0xFFFF))});
            }
            pendingMinimum_.reset();
            return true;
        }
        default:
            return true;
        }
    }

    struct WrittenRange {
        WrittenUsage first;
        std::uint16_t count;
    };

    Globals globals_;
    std::vector<Globals> stack_;
    std::vector<WrittenRange> ranges_;
    std::optional<WrittenUsage> pendingMinimum_;
    std::size_t depth_ = 0;
    bool numbered_ = false;
    InputLayout layout_;
};

// The boot keyboard's descriptor, five LED bits of output included.
constexpr std::array<std::uint8_t, 63> kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
};

constexpr std::array<std::uint8_t, 50> kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15,
    0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01,
    0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0,
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
    if (descriptor.empty()) {
        return std::nullopt;
    }
    LayoutBuilder builder;
    const bool wellFormed = WalkItems(
        descriptor, [&builder](std::uint8_t type, std::uint8_t tag, std::uint32_t value,
                               std::size_t dataSize) { return builder.onItem(type, tag, value, dataSize); });
    return wellFormed ? std::move(builder).finish() : std::nullopt;
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
