#include "device/device_link.h"

#include "device/collection_kind.h"
#include "device/interface_choice.h"
#include "protocol/hex_byte.h"

#include <utility>
#include <vector>

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
        match = OpenChosenCandidate(*vendorId, *productId);
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

std::unique_ptr<HidDevice> DeviceLink::OpenChosenCandidate(std::uint16_t vendorId, std::uint16_t productId) {
    std::vector<std::unique_ptr<HidDevice>> opened; // by place in LastDiscovery.seen
    for (HidInterface& candidate : backend_.enumerate(vendorId, productId)) {
        if (candidate.vendorId != vendorId || candidate.productId != productId) {
            continue;
        }
        // Every interface with the ids is recorded, so that the pedal's keyboards and mice are known wherever
        // they stand in the enumeration. One the system would refuse to open for writing is judged from the
        // enumeration alone, and none is opened once the choice is settled.
        const bool settled = ChoiceIsSettled(LastDiscovery.seen);
        SeenInterface& seen = LastDiscovery.seen.emplace_back();
        seen.interface = std::move(candidate);
        std::unique_ptr<HidDevice>& device = opened.emplace_back();
        if (settled || IsPassedOver(seen.interface)) {
            continue;
        }
        seen.tried = true;
        OpenResult result = backend_.open(seen.interface.path);
        LastResult = result.device ? 1 : 0;
        if (!result.device) {
            seen.openFailure = result.failure;
            seen.openProblem = std::move(result.problem);
            continue;
        }
        seen.opens = true;
        seen.outputReportLength = result.device->outputReportLength();
        device = std::move(result.device);
    }
    JudgeInterfaces(LastDiscovery.seen);
    for (std::size_t i = 0; i < opened.size(); ++i) {
        const SeenInterface& seen = LastDiscovery.seen[i];
        if (seen.verdict == InterfaceVerdict::Chosen) {
            DevicePathName = seen.interface.path;
            ReadDeviceCapabilities(seen);
            return std::move(opened[i]);
        }
    }
    return nullptr; // the others close here
}

void DeviceLink::ReadDeviceCapabilities(const SeenInterface& chosen) {
    if (chosen.outputReportLength) {
        OutputReportByteLength = *chosen.outputReportLength;
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
