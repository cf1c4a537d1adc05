#pragma once

#include "hid/hid_usage.h"

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

// The one reading of a HID report descriptor: every question asked of a descriptor is a handler of its main
// items, so that all of them keep the same state and refuse the same descriptors.
namespace treadkey {

// A run of usages one Usage, or one Usage Minimum/Maximum pair, names.
struct UsageRange {
    HidUsage first;
    std::uint16_t count = 1;
};

// Each kind is numbered by its item tag.
enum class MainItemKind : std::uint8_t {
    Input = 0x8,
    Output = 0x9,
    Collection = 0xA,
    Feature = 0xB,
    EndCollection = 0xC
};

// One main item with the global and local items in effect at it.
struct MainItem {
    MainItemKind kind = MainItemKind::Input;
    std::uint32_t data = 0; // an Input, Output or Feature item's flags, a Collection's type
    std::uint16_t usagePage = 0;
    std::int64_t logicalMinimum = 0;
    std::int64_t logicalMaximum = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0; // 0 while the descriptor names none
    // The Usage items and Usage Minimum/Maximum pairs since the last main item, on the page in effect here.
    std::span<const UsageRange> usages;
    // The first Usage item alone, on the page in effect where it stands: what names a collection.
    std::optional<HidUsage> firstUsage;
    std::size_t depth = 0; // collections open before the item
    // Where an Input, Output or Feature item's data lies in its report, counted after the report id.
    std::uint32_t bitOffset = 0;
    std::uint32_t bits = 0;
};

// What a descriptor says as a whole.
struct DescriptorRead {
    bool numbered = false; // a Report ID item stands somewhere in it: every report starts with its id
};

// Calls onMainItem for each main item in order. Nothing when the descriptor is refused, which every question
// then answers as for a descriptor that cannot be read: it is empty or truncated, names Report ID 0 or one
// above 255, pops more than it pushed or pushes past 16 levels, ends a collection none opened or leaves one
// open, or declares a report longer than 65535 bytes.
std::optional<DescriptorRead> ReadDescriptor(std::span<const std::uint8_t> descriptor,
                                             const std::function<void(const MainItem&)>& onMainItem);

} // namespace treadkey
