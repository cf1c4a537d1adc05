#include "diagnosis/pedal_nodes.h"

#include "hid/report_descriptor.h"
#include "protocol/pedal_ids.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace treadkey {
namespace {

// "0003:2704:2018.0004" names the HID device by bus, vendor and product.
bool NamesPedal(const std::string& hidDevice) {
    const std::size_t first = hidDevice.find(':');
    if (first == std::string::npos || hidDevice.size() < first + 10) {
        return false;
    }
    unsigned vendor = 0;
    unsigned product = 0;
    const char* text = hidDevice.data();
    const auto vendorEnd = std::from_chars(text + first + 1, text + first + 5, vendor, 16);
    const auto productEnd = std::from_chars(text + first + 6, text + first + 10, product, 16);
    return vendorEnd.ptr == text + first + 5 && hidDevice[first + 5] == ':' &&
           productEnd.ptr == text + first + 10 && vendor == kPedalVendorId && product == kPedalProductId;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

std::optional<int> InterfaceNumber(const std::filesystem::path& hidDevice) {
    const std::string text = Trimmed(ReadSmallFile(hidDevice.parent_path() / "bInterfaceNumber"));
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

} // namespace

std::vector<PedalNode> FindPedalNodes(const SystemRoot& system) {
    std::vector<PedalNode> nodes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(system.under("/sys/class/hidraw"), error)) {
        const std::filesystem::path hidDevice = std::filesystem::canonical(entry.path() / "device", error);
        if (error || !NamesPedal(hidDevice.filename().string())) {
            continue;
        }
        const std::string descriptorText = ReadSmallFile(hidDevice / "report_descriptor");
        const std::vector<std::uint8_t> descriptor(descriptorText.begin(), descriptorText.end());
        const std::string name = entry.path().filename().string();
        std::optional<int> length;
        if (!descriptor.empty()) {
            length = OutputReportLengthFromDescriptor(descriptor);
        }
        nodes.push_back({.name = name,
                         .node = "/dev/" + name,
                         .deviceNumber = Trimmed(ReadSmallFile(entry.path() / "dev")),
                         .hidDevice = hidDevice.filename().string(),
                         .usbInterface = InterfaceNumber(hidDevice),
                         .collections = TopLevelCollectionsFromDescriptor(descriptor),
                         .outputReportLength = length});
    }
    std::ranges::sort(nodes, [](const PedalNode& a, const PedalNode& b) {
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    return nodes;
}

} // namespace treadkey
