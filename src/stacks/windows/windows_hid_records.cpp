#include "stacks/windows/windows_hid_records.h"

#include "hid/collection_kind.h"
#include "stacks/pedal_identity.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace treadkey::windows_hid {
namespace {

// Win32 error codes as system error codes: a sharing violation says what it means, any other its number.
const std::error_category& WindowsErrorCategory() {
    static const class : public std::error_category {
    public:
        const char* name() const noexcept override { return "windows"; }
        std::string message(int code) const override {
            return code == static_cast<int>(kErrorSharingViolation) ? std::string(kOpenedElsewhere)
                                                                    : "Windows error " + std::to_string(code);
        }
    } category;
    return category;
}

OpenFailure ClassifyOpenFailure(const HidInterface& interface, std::uint32_t error) {
    switch (error) {
    case kErrorAccessDenied:
        return IsPassedOver(interface.collections) ? OpenFailure::KeptBySystem : OpenFailure::InUse;
    case kErrorFileNotFound:
    case kErrorPathNotFound:
    case kErrorNoSuchDevice:
    case kErrorDeviceNotConnected:
        return OpenFailure::Gone;
    default:
        return OpenFailure::Unknown;
    }
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lowered;
}

// The number after `label` in a location such as "Port_#0002.Hub_#0003", leading zeros dropped; empty when
// it has none.
std::string NumberAfter(std::string_view location, std::string_view label) {
    const std::size_t at = location.find(label);
    if (at == std::string_view::npos) {
        return {};
    }
    std::string_view digits = location.substr(at + label.size());
    digits = digits.substr(0, std::min(digits.find_first_not_of("0123456789"), digits.size()));
    const std::size_t first = digits.find_first_not_of('0');
    return digits.empty() ? std::string()
                          : std::string(first == std::string_view::npos ? "0" : digits.substr(first));
}

// "usb-hub3-port2" for "Port_#0002.Hub_#0003"; else what the generated instance part says, '&' made '-'.
std::string PortIdentity(const DeviceNode& node, std::string_view instancePart) {
    const std::string port = NumberAfter(node.location, "Port_#");
    const std::string hub = NumberAfter(node.location, "Hub_#");
    if (!port.empty() && !hub.empty()) {
        return "usb-hub" + hub + "-port" + port;
    }
    std::string part = Lowered(instancePart);
    std::replace(part.begin(), part.end(), '&', '-');
    return "usb-" + part;
}

} // namespace

std::string PedalIdentityFromAncestors(std::string_view hidSerial, std::span<const DeviceNode> ancestors) {
    if (std::string serial = SerialIdentity(hidSerial); !serial.empty()) {
        return serial;
    }
    for (const DeviceNode& node : ancestors) {
        const std::string id = Lowered(node.instanceId);
        const std::size_t first = id.find('\\');
        const std::size_t last = id.rfind('\\');
        if (!id.starts_with("usb\\") || first == last ||
            id.substr(first, last - first).find("&mi_") != std::string::npos) {
            continue;
        }
        const std::string_view instancePart = std::string_view(node.instanceId).substr(last + 1);
        if (instancePart.find('&') == std::string_view::npos && !instancePart.empty()) {
            return SerialIdentity(instancePart);
        }
        return PortIdentity(node, instancePart);
    }
    return {};
}

std::optional<std::string> PathFromDetailRecord(std::span<const std::uint8_t> record) {
    if (record.size() <= kDetailPathOffset) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> text = record.subspan(kDetailPathOffset);
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    if (end == text.begin()) {
        return std::nullopt;
    }
    return std::string(text.begin(), end);
}

std::vector<HidCollection> CollectionsFromCaps(std::optional<HidCollection> capsUsage) {
    if (!capsUsage) {
        return {};
    }
    return {*capsUsage};
}

std::error_code WindowsError(std::uint32_t error) {
    return {static_cast<int>(error), WindowsErrorCategory()};
}

OpenResult OpenFailureFor(const HidInterface& interface, std::uint32_t error) {
    return RefusedOpen(interface.path, ClassifyOpenFailure(interface, error), WindowsError(error));
}

} // namespace treadkey::windows_hid
