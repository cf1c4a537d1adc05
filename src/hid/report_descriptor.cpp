#include "hid/report_descriptor.h"

#include "hid/descriptor_reader.h"

#include <algorithm>

namespace treadkey {

std::optional<int> OutputReportLengthFromDescriptor(std::span<const std::uint8_t> descriptor) {
    std::uint32_t longest = 0; // data bits, over all report ids
    const std::optional<DescriptorRead> read = ReadDescriptor(descriptor, [&longest](const MainItem& item) {
        if (item.kind == MainItemKind::Output) {
            longest = std::max(longest, item.bitOffset + item.bits);
        }
    });
    if (!read) {
        return std::nullopt;
    }
    return longest == 0 ? 0 : static_cast<int>((longest + 7) / 8 + 1);
}

std::vector<HidCollection> TopLevelCollectionsFromDescriptor(std::span<const std::uint8_t> descriptor) {
    std::vector<HidCollection> collections;
    const std::optional<DescriptorRead> read =
        ReadDescriptor(descriptor, [&collections](const MainItem& item) {
            if (item.kind == MainItemKind::Collection && item.depth == 0) {
                const HidUsage usage = item.firstUsage.value_or(HidUsage{item.usagePage, 0});
                collections.push_back({usage.page, usage.usage});
            }
        });
    return read ? collections : std::vector<HidCollection>{};
}

} // namespace treadkey
