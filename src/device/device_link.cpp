#include "device/device_link.h"

#include "device/collection_kind.h"
#include "protocol/hex_byte.h"

#include <utility>

namespace treadkey {

std::optional<std::uint16_t> ParseIdText(std::string_view idText) {
    if (idText.size() < 3 || idText[0] != '&' || (idText[1] != 'H' && idText[1] != 'h')) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : idText.substr(2)) {
        const std::optional<int> digit = HexDigitValue(c);
        if (!digit) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(*digit);
        if (value > 0xFFFF) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint16_t>(value);
}

bool DeviceLink::FindTheHid(std::string_view vendorIdText, std::string_view productIdText) {
    DeviceDetected = false;
    LastDiscovery.note = DiscoveryNote::None;
    LastDiscovery.seen.clear(); // keeps its room: a tick every 350 ms need not allocate it anew
    const std::optional<std::uint16_t> vendorId = ParseIdText(vendorIdText);
    const std::optional<std::uint16_t> productId = ParseIdText(productIdText);
    std::unique_ptr<HidDevice> match;
    if (vendorId && productId) {
        match = OpenFirstCandidate(*vendorId, *productId);
    }
    LastDiscovery.note = NoteFor(LastDiscovery.seen);
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
    ReadHandle = backend_.open(DevicePathName).device;
    return true;
}

std::unique_ptr<HidDevice> DeviceLink::OpenFirstCandidate(std::uint16_t vendorId, std::uint16_t productId) {
    for (HidInterface& candidate : backend_.enumerate(vendorId, productId)) {
        if (candidate.vendorId != vendorId || candidate.productId != productId) {
            continue;
        }
        SeenInterface& seen = LastDiscovery.seen.emplace_back();
        seen.interface = std::move(candidate);
        // The system would refuse to open it for writing; judged from the enumeration alone.
        if (IsPassedOver(seen.interface)) {
            seen.verdict = InterfaceVerdict::HeldBySystem;
            continue;
        }
        seen.tried = true;
        OpenResult opened = backend_.open(seen.interface.path);
        LastResult = opened.device ? 1 : 0;
        if (!opened.device) {
            seen.verdict = InterfaceVerdict::DoesNotOpen;
            seen.openFailure = opened.failure;
            seen.openProblem = std::move(opened.problem);
            continue;
        }
        seen.verdict = InterfaceVerdict::Chosen;
        seen.opens = true;
        DevicePathName = seen.interface.path;
        seen.outputReportLength = ReadDeviceCapabilities(*opened.device);
        return std::move(opened.device);
    }
    return nullptr;
}

std::optional<int> DeviceLink::ReadDeviceCapabilities(HidDevice& device) {
    const std::optional<int> length = device.outputReportLength();
    if (length) {
        OutputReportByteLength = *length;
    }
    return length;
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
