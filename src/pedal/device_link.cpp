#include "pedal/device_link.h"

#include "stacks/pedal_identity.h"

#include "pedal/interface_choice.h"

#include <utility>

namespace treadkey {

bool DeviceLink::FindTheHid(std::uint16_t vendorId, std::uint16_t productId) {
    ClearDiscovery();
    std::unique_ptr<HidDevice> match =
        DiscoverInterfaces(backend_, vendorId, productId, Opening::Candidates, LastDiscovery, WantedPedal);
    for (const SeenInterface& seen : LastDiscovery.seen) {
        if (seen.tried) {
            LastResult = seen.opens ? 1 : 0; // the platform's word on the last open
        }
    }
    if (!match) {
        ReleaseHandles();
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

void DeviceLink::ForgetThePedal() {
    ClearDiscovery();
    ReleaseHandles();
}

void DeviceLink::ClearDiscovery() {
    DeviceDetected = false;
    LastDiscovery.note = DiscoveryNote::None;
    LastDiscovery.seen.clear(); // keeps its room: a tick every 350 ms need not allocate it anew
    LastDiscovery.pedal.clear();
    LastDiscovery.pedals.clear();
}

void DeviceLink::ReleaseHandles() {
    // Nothing writes through the handles of a pedal that is gone (a send rediscovers first); holding them
    // would only keep its device node from being freed.
    HIDHandle.reset();
    ReadHandle.reset();
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
