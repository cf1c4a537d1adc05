#include "hid/descriptor_reader.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>
#include <vector>

namespace treadkey {
namespace {

// Real descriptors nest Push a level or two deep; a deeper stack is garbage, not a device.
constexpr std::size_t kMaxGlobalStackDepth = 16;
// Data bits that still fit beside the report-id byte of a 65535-byte report.
constexpr std::uint64_t kMaxReportBits = std::uint64_t{65535 - 1} * 8;

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::size_t kLongItemHeaderSize = 3; // prefix, data size, long tag
constexpr std::array<std::size_t, 4> kShortItemDataSizes = {0, 1, 2, 4};

enum ItemType : std::uint8_t { kMainItem = 0, kGlobalItem = 1, kLocalItem = 2 };
enum GlobalTag : std::uint8_t {
    kUsagePageTag = 0x0,
    kLogicalMinimumTag = 0x1,
    kLogicalMaximumTag = 0x2,
    kReportSizeTag = 0x7,
    kReportIdTag = 0x8,
    kReportCountTag = 0x9,
    kPushTag = 0xA,
    kPopTag = 0xB,
};
enum LocalTag : std::uint8_t { kUsageTag = 0x0, kUsageMinimumTag = 0x1, kUsageMaximumTag = 0x2 };

struct Item {
    std::uint8_t type = 0;
    std::uint8_t tag = 0;
    std::uint32_t value = 0;
    std::size_t dataSize = 0;
};

// Calls visit(item) for each short item in order; false when the descriptor is truncated or visit says an
// item makes it malformed.
template <typename Visit> bool WalkItems(std::span<const std::uint8_t> descriptor, Visit visit) {
    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const std::size_t remaining = descriptor.size() - pos;
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            // Long items carry nothing any reading needs; only their length matters.
            if (remaining < kLongItemHeaderSize || remaining - kLongItemHeaderSize < descriptor[pos + 1]) {
                return false;
            }
            pos += kLongItemHeaderSize + descriptor[pos + 1];
            continue;
        }
        Item item;
        item.dataSize = kShortItemDataSizes[prefix & 0x3];
        if (remaining - 1 < item.dataSize) {
            return false;
        }
        for (std::size_t i = 0; i < item.dataSize; ++i) {
            item.value |= std::uint32_t{descriptor[pos + 1 + i]} << (8 * i);
        }
        pos += 1 + item.dataSize;
        item.type = static_cast<std::uint8_t>((prefix >> 2) & 0x3);
        item.tag = static_cast<std::uint8_t>(prefix >> 4);
        if (!visit(item)) {
            return false;
        }
    }
    return true;
}

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

std::optional<MainItemKind> KindOf(std::uint8_t mainTag) {
    const bool known = mainTag >= static_cast<std::uint8_t>(MainItemKind::Input) &&
                       mainTag <= static_cast<std::uint8_t>(MainItemKind::EndCollection);
    return known ? std::optional(static_cast<MainItemKind>(mainTag)) : std::nullopt;
}

// A usage as written: a four-byte one carries its page, a shorter one takes the page it is read on.
struct WrittenUsage {
    std::uint32_t value = 0;
    bool extended = false;

    HidUsage Resolve(std::uint16_t page) const {
        return extended ? HidUsage{static_cast<std::uint16_t>(value >> 16),
                                   static_cast<std::uint16_t>(value & 0xFFFF)}
                        : HidUsage{page, static_cast<std::uint16_t>(value)};
    }
};

struct GlobalItems {
    std::uint16_t usagePage = 0;
    Item logicalMinimum;
    Item logicalMaximum;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

// Local items last until the next main item.
struct LocalItems {
    struct WrittenRange {
        WrittenUsage first;
        std::uint16_t count = 1;
    };
    std::vector<WrittenRange> ranges;
    std::optional<WrittenUsage> pendingMinimum;
    std::optional<HidUsage> firstUsage;
};

class Reader {
public:
    explicit Reader(const std::function<void(const MainItem&)>& onMainItem) : onMainItem_(onMainItem) {}

    bool onItem(const Item& item) {
        switch (item.type) {
        case kMainItem:
            return onMain(item.tag, item.value);
        case kGlobalItem:
            return onGlobal(item);
        case kLocalItem:
            onLocal(item);
            return true;
        default:
            return true;
        }
    }

    std::optional<DescriptorRead> finished() const {
        return depth_ == 0 ? std::optional(read_) : std::nullopt;
    }

private:
    bool onMain(std::uint8_t tag, std::uint32_t data) {
        const std::optional<MainItemKind> kind = KindOf(tag);
        const bool wellFormed = !kind || readMain(*kind, data);
        local_ = {};
        return wellFormed;
    }

    bool readMain(MainItemKind kind, std::uint32_t data) {
        MainItem item = inEffect(kind, data);
        switch (kind) {
        case MainItemKind::Collection:
            onMainItem_(item);
            ++depth_;
            return true;
        case MainItemKind::EndCollection:
            if (depth_ == 0) {
                return false;
            }
            onMainItem_(item);
            --depth_;
            return true;
        default: {
            std::uint32_t& reportBits = reportBits_[{kind, global_.reportId}];
            const std::uint64_t bits = std::uint64_t{global_.reportSize} * global_.reportCount;
            if (bits > kMaxReportBits - reportBits) {
                return false;
            }
            item.bitOffset = reportBits;
            item.bits = static_cast<std::uint32_t>(bits);
            reportBits += item.bits;
            onMainItem_(item);
            return true;
        }
        }
    }

    MainItem inEffect(MainItemKind kind, std::uint32_t data) {
        MainItem item;
        item.kind = kind;
        item.data = data;
        item.usagePage = global_.usagePage;
        item.logicalMinimum = SignExtend(global_.logicalMinimum.value, global_.logicalMinimum.dataSize);
        // A maximum reads unsigned beside a minimum that is not negative: 0..255 is written 15 00 25 FF.
        item.logicalMaximum = item.logicalMinimum < 0
                                  ? SignExtend(global_.logicalMaximum.value, global_.logicalMaximum.dataSize)
                                  : std::int64_t{global_.logicalMaximum.value};
        item.reportSize = global_.reportSize;
        item.reportCount = global_.reportCount;
        item.reportId = global_.reportId;
        usages_.clear();
        for (const auto& [first, count] : local_.ranges) {
            usages_.push_back({first.Resolve(global_.usagePage), count});
        }
        item.usages = usages_;
        item.firstUsage = local_.firstUsage;
        item.depth = depth_;
        return item;
    }

    bool onGlobal(const Item& item) {
        switch (item.tag) {
        case kUsagePageTag:
            global_.usagePage = static_cast<std::uint16_t>(item.value);
            return true;
        case kLogicalMinimumTag:
            global_.logicalMinimum = item;
            return true;
        case kLogicalMaximumTag:
            global_.logicalMaximum = item;
            return true;
        case kReportSizeTag:
            global_.reportSize = item.value;
            return true;
        case kReportCountTag:
            global_.reportCount = item.value;
            return true;
        case kReportIdTag:
            if (item.value == 0 || item.value > 0xFF) {
                return false;
            }
            global_.reportId = static_cast<std::uint8_t>(item.value);
            read_.numbered = true;
            return true;
        case kPushTag:
            if (stack_.size() == kMaxGlobalStackDepth) {
                return false;
            }
            stack_.push_back(global_);
            return true;
        case kPopTag:
            if (stack_.empty()) {
                return false;
            }
            global_ = stack_.back();
            stack_.pop_back();
            return true;
        default:
            return true;
        }
    }

    void onLocal(const Item& item) {
        const WrittenUsage usage{item.value, item.dataSize == 4};
        switch (item.tag) {
        case kUsageTag:
            local_.ranges.push_back({usage, 1});
            if (!local_.firstUsage) {
                local_.firstUsage = usage.Resolve(global_.usagePage);
            }
            break;
        case kUsageMinimumTag:
            local_.pendingMinimum = usage;
            break;
        case kUsageMaximumTag: {
            // A maximum without its minimum, or below it, names nothing.
            if (!local_.pendingMinimum) {
                break;
            }
            const std::uint16_t low = local_.pendingMinimum->Resolve(0).usage;
            const std::uint16_t high = usage.Resolve(0).usage;
            if (high >= low) {
                local_.ranges.push_back(
                    {*local_.pendingMinimum, static_cast<std::uint16_t>(std::min(high - low + 1, 0xFFFF))});
            }
            local_.pendingMinimum.reset();
            break;
        }
        default:
            break;
        }
    }

    const std::function<void(const MainItem&)>& onMainItem_;
    GlobalItems global_;
    std::vector<GlobalItems> stack_;
    LocalItems local_;
    std::vector<UsageRange> usages_; // local_.ranges resolved for the main item being read
    std::size_t depth_ = 0;
    DescriptorRead read_;
    std::map<std::pair<MainItemKind, std::uint8_t>, std::uint32_t> reportBits_; // data bits so far, by report
};

} // namespace

std::optional<DescriptorRead> ReadDescriptor(std::span<const std::uint8_t> descriptor,
                                             const std::function<void(const MainItem&)>& onMainItem) {
    Reader reader(onMainItem);
    const bool walked = !descriptor.empty() &&
                        WalkItems(descriptor, [&reader](const Item& item) { return reader.onItem(item); });
    return walked ? reader.finished() : std::nullopt;
}

} // namespace treadkey
