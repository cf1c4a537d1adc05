#include "device/device_link.h"

#include <utility>

namespace treadkey {

std::optional<std::uint16_t> ParseIdText(std::string_view idText) {
    if (idText.size() < 3 || idText[0] != '&' || (idText[1] != 'H' && idText[1] != 'h')) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : idText.substr(2)) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
        if (value > 0xFFFF) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint16_t>(value);
}

bool DeviceLink::FindTheHid(std::string_view vendorIdText, std::string_view productIdText) {
    DeviceDetected = false;
    const std::optional<std::uint16_t> vendorId = ParseIdText(vendorIdText);
    const std::optional<std::uint16_t> productId = ParseIdText(productIdText);
    if (!vendorId || !productId) {
        OpenProblem.clear();
        return false;
    }

    std::unique_ptr<HidDevice> match;
    std::string problem;
    for (const HidInterface& candidate : backend_.enumerate(*vendorId, *productId)) {
        if (candidate.vendorId != *vendorId || candidate.productId != *productId) {
            continue;
        }
        OpenResult opened = backend_.open(candidate.path);
        LastResult = opened.device ? 1 : 0;
        if (opened.device) {
            match = std::move(opened.device);
            DevicePathName = candidate.path;
            break;
        }
        if (problem.empty()) {
            problem = std::move(opened.problem);
        }
    }
    OpenProblem = match ? std::string() : std::move(problem);
    if (!match) {
        // Nothing writes through the handles of a pedal that is gone (a send rediscovers first); holding them
        // would only keep its device node from being freed.
        HIDHandle.reset();
        ReadHandle.reset();
        return false;
    }

    DeviceDetected = true;
    ConnectedOnce = true;
    // Replacing the handles closes those of the previous match; a discovery every tick would otherwise run
    // out of file descriptors within minutes.
    HIDHandle = std::move(match);
    ReadDeviceCapabilities();
    ReadHandle = backend_.open(DevicePathName).device;
    return true;
}

void DeviceLink::ReadDeviceCapabilities() {
    if (const std::optional<int> length = HIDHandle->outputReportLength()) {
        OutputReportByteLength = *length;
    }
}

bool DeviceLink::WriteReport(std::span<const std::uint8_t> report) {
    if (!HIDHandle || report.empty()) {
        LastResult = -1;
        return false;
    }
    LastResult = HIDHandle->write(report);
    return LastResult == static_cast<int>(report.size());
}

bool DeviceLink::CloseDeviceHandles() {
    const bool wasOpen = HIDHandle != nullptr;
    HIDHandle.reset();
    ReadHandle.reset();
    LastResult = wasOpen ? 1 : 0;
    return wasOpen;
}

} // namespace treadkey
