#include "device/report_descriptor.h"

#include "device/report_items.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace treadkey {
namespace {

using namespace report_items;

constexpr int kMaxReportLength = 65535;
// Data bits that still fit beside the report-id byte.
constexpr std::uint64_t kMaxOutputBits = std::uint64_t{kMaxReportLength - 1} * 8;

struct GlobalState {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0; // 0 until the descriptor names one: the device does not number its reports
};

class OutputLengthCounter {
public:
    // Each handler returns false when the item makes the descriptor malformed.
    bool onMainItem(std::uint8_t tag) {
        switch (tag) {
        case kOutputTag: {
            const std::uint64_t bits = std::uint64_t{global_.reportSize} * global_.reportCount;
            std::uint64_t& total = outputBits_[global_.reportId];
            if (bits > kMaxOutputBits - total) {
                return false;
            }
            total += bits;
            return true;
        }
        case kCollectionTag:
            ++collectionDepth_;
            return true;
        case kEndCollectionTag:
            if (collectionDepth_ == 0) {
                return false;
            }
            --collectionDepth_;
            return true;
        default:
            return true;
        }
    }

    bool onGlobalItem(std::uint8_t tag, std::uint32_t value) {
        switch (tag) {
        case kReportSizeTag:
            global_.reportSize = value;
            return true;
        case kReportCountTag:
            global_.reportCount = value;
            return true;
        case kReportIdTag:
            if (value == 0 || value > 0xFF) {
                return false;
            }
            global_.reportId = static_cast<std::uint8_t>(value);
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

    std::optional<int> finish() const {
        if (collectionDepth_ != 0) {
            return std::nullopt;
        }
        const std::uint64_t longest = *std::max_element(outputBits_.begin(), outputBits_.end());
        if (longest == 0) {
            return 0;
        }
        return static_cast<int>((longest + 7) / 8 + 1);
    }

private:
    GlobalState global_;
    std::vector<GlobalState> stack_;
    std::size_t collectionDepth_ = 0;
    std::array<std::uint64_t, 256> outputBits_{}; // by report id
};

// The top-level collections in order: the usage page and first usage in effect at each Collection item
// outside every other collection.
class TopLevelCollector {
public:
    bool onItem(std::uint8_t type, std::uint8_t tag, std::uint32_t value, std::size_t dataSize) {
        if (type == kGlobalItem) {
            return onGlobalItem(tag, value);
        }
        if (type == kLocalItem) {
            if (tag == kUsageTag && !usage_) {
                // A four-byte usage carries its own page in the upper half.
                usage_ = dataSize == 4 ? HidCollection{static_cast<std::uint16_t>(value >> 16),
                                                       static_cast<std::uint16_t>(value & 0xFFFF)}
                                       : HidCollection{usagePage_, static_cast<std::uint16_t>(value)};
            }
            return true;
        }
        if (type != kMainItem) {
            return true;
        }
        if (tag == kCollectionTag) {
            if (depth_++ == 0) {
                collections_.push_back(usage_.value_or(HidCollection{usagePage_, 0}));
            }
        } else if (tag == kEndCollectionTag) {
            if (depth_ == 0) {
                return false;
            }
            --depth_;
        }
        usage_.reset(); // local items last until the next main item
        return true;
    }

    std::vector<HidCollection> finish() && { return std::move(collections_); }

private:
    bool onGlobalItem(std::uint8_t tag, std::uint32_t value) {
        switch (tag) {
        case kUsagePageTag:
            usagePage_ = static_cast<std::uint16_t>(value);
            return true;
        case kPushTag:
            if (stack_.size() == kMaxGlobalStackDepth) {
                return false;
            }
            stack_.push_back(usagePage_);
            return true;
        case kPopTag:
            if (stack_.empty()) {
                return false;
            }
            usagePage_ = stack_.back();
            stack_.pop_back();
            return true;
        default:
            return true;
        }
    }

    std::uint16_t usagePage_ = 0;
    std::vector<std::uint16_t> stack_;
    std::optional<HidCollection> usage_;
    std::size_t depth_ = 0;
    std::vector<HidCollection> collections_;
};

} // namespace

std::optional<int> OutputReportLengthFromDescriptor(std::span<const std::uint8_t> descriptor) {
    if (descriptor.empty()) {
        return std::nullopt;
    }
    OutputLengthCounter counter;
    const bool wellFormed = WalkItems(
        descriptor, [&counter](std::uint8_t type, std::uint8_t tag, std::uint32_t value, std::size_t) {
            return type == kMainItem     ? counter.onMainItem(tag)
                   : type == kGlobalItem ? counter.onGlobalItem(tag, value)
                                         : true; // local and reserved items size nothing
        });
    return wellFormed ? counter.finish() : std::nullopt;
}

std::vector<HidCollection> TopLevelCollectionsFromDescriptor(std::span<const std::uint8_t> descriptor) {
    TopLevelCollector collector;
    const bool wellFormed = WalkItems(descriptor, [&collector](std::uint8_t type, std::uint8_t tag,
                                                               std::uint32_t value, std::size_t dataSize) {
        return collector.onItem(type, tag, value, dataSize);
    });
    return wellFormed ? std::move(collector).finish() : std::vector<HidCollection>{};
}

} // namespace treadkey
