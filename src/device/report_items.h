#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The item layer of a HID report descriptor, shared by every reading of one.
namespace treadkey::report_items {

// Real descriptors nest Push a level or two deep; a deeper stack is garbage, not a device.
inline constexpr std::size_t kMaxGlobalStackDepth = 16;

inline constexpr std::uint8_t kLongItemPrefix = 0xFE;
inline constexpr std::size_t kLongItemHeaderSize = 3; // prefix, data size, long tag
inline constexpr std::array<std::size_t, 4> kShortItemDataSizes = {0, 1, 2, 4};

enum ItemType : std::uint8_t { kMainItem = 0, kGlobalItem = 1, kLocalItem = 2 };
enum LocalTag : std::uint8_t { kUsageTag = 0x0, kUsageMinimumTag = 0x1, kUsageMaximumTag = 0x2 };
enum MainTag : std::uint8_t {
    kInputTag = 0x8,
    kOutputTag = 0x9,
    kCollectionTag = 0xA,
    kEndCollectionTag = 0xC
};
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

// Calls visit(type, tag, value, dataSize) for each short item in order; false when the descriptor is
// truncated or visit says an item makes it malformed.
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
        const std::size_t dataSize = kShortItemDataSizes[prefix & 0x3];
        if (remaining - 1 < dataSize) {
            return false;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i) {
            value |= std::uint32_t{descriptor[pos + 1 + i]} << (8 * i);
        }
        pos += 1 + dataSize;
        const auto type = static_cast<std::uint8_t>((prefix >> 2) & 0x3);
        const auto tag = static_cast<std::uint8_t>(prefix >> 4);
        if (!visit(type, tag, value, dataSize)) {
            return false;
        }
    }
    return true;
}

} // namespace treadkey::report_items
