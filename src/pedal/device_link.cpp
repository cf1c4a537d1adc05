#include "pedal/device_link.h"

#include "stacks/pedal_identity.h"

#include "pedal/interface_choice.h"
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
    LastDiscovery.pedal.clear();
    LastDiscovery.pedals.clear();
    const std::optional<std::uint16_t> vendorId = ParseIdText(vendorIdText);
    const std::optional<std::uint16_t> productId = ParseIdText(productIdText);
    std::unique_ptr<HidDevice> match;
    if (vendorId && productId) {
        match = DiscoverInterfaces(backend_, *vendorId, *productId, Opening::Candidates, LastDiscovery,
                                   WantedPedal);
        for (const SeenInterface& seen : LastDiscovery.seen) {
            if (seen.tried) {
                LastResult = seen.opens ? 1 : 0; // the platform's word on the last open
            }
        }
    }
    if (!match) {
        // Nothing writes through the handles of a pedal that is gone (a send rediscovers first); holding them
        // would only keep its device node from being freed.
        HIDHandle.reset();
        ReadHandle.reset();
        return false;
    }

    const SeenInterface& chosen = *ChosenInterface(LastDiscovery);
    DevicePathName = chosen.interface.path;
    if (chosen.outputReportLength) {
        OutputReportByteLength = *chosen.outputReportLength;
    }
    DeviceDetected = true;
    ConnectedOnce = true;
    // Replacing the handles closes those of the previous match; a discovery every tick would otherwise run
    // out of file descriptors within minutes.
    HIDHandle = std::move(match);
    ReadHandle = backend_.open(DevicePathName).device;
    return true;
}

bool DeviceLink::WriteReport(std::span<const std::uint8_t> report) {
    if (!HIDHandle || report.empty()) {
        LastResult = -1;
        return false;
    }
    LastResult = HIDHandle->write(report);
    return LastResult == static_cast<int>(report.size());
}

std::string DeviceLink::ChosenPedal() const {
    const SeenInterface* chosen = ChosenInterface(LastDiscovery);
    return chosen != nullptr ? PedalOf(chosen->interface) : std::string();
}

bool DeviceLink::CloseDeviceHandles() {
    const bool wasOpen = HIDHandle != nullptr;
    HIDHandle.reset();
    ReadHandle.reset();
    LastResult = wasOpen ? 1 : 0;
    return wasOpen;
}

} // namespace treadkey
