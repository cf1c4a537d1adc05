#pragma once

#include "pedal/discovery_report.h"
#include "stacks/hid_backend.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace treadkey {

// The connection to the pedal: discovery by vendor and product id, the two open handles and the output report
// length. The window adds the status text and the enabling of its buttons; the command line uses it as is.
class DeviceLink {
public:
    explicit DeviceLink(HidBackend& backend) : backend_(backend) {}

    // One discovery run (DiscoverInterfaces, opening the candidates) over the present interfaces whose ids
    // equal the given ones. Interfaces with other ids, passed-over ones (IsPassedOver: the system would keep
    // them to itself) and those after the choice is settled are never opened. The handles
    // of an earlier match are released when the run ends, so between runs repeated discovery holds two
    // handles at the most, and none while no pedal is found.
    bool FindTheHid(std::uint16_t vendorId, std::uint16_t productId);

    // Leaves the link as a discovery that matched nothing does, without looking: the last report cleared and
    // both handles released. For ids that can name no device.
    void ForgetThePedal();

    // Writes one report through HIDHandle; true when the device took all of it.
    bool WriteReport(std::span<const std::uint8_t> report);

    // The identity of the pedal the last discovery chose; empty when it chose none.
    std::string ChosenPedal() const;

    // Releases both handles. Returns whether a device was open.
    bool CloseDeviceHandles();

    // The pedal to connect to (its identity); empty for the first pedal present. Another pedal is never
    // taken in its place.
    std::string WantedPedal;
    bool DeviceDetected = false; // the last discovery found the device
    bool ConnectedOnce = false;  // some discovery found it; never cleared
    std::unique_ptr<HidDevice> HIDHandle;
    std::unique_ptr<HidDevice> ReadHandle; // opened beside HIDHandle and only ever closed
    int OutputReportByteLength = 0;        // report-id byte included; kept when a device cannot tell it
    std::string DevicePathName;
    // The platform's word on the last operation: bytes written or -1 for a write, 1 or 0 for an open or
    // close.
    int LastResult = 0;
    // What the last discovery saw of every interface with the wanted ids, for telling the user why and for
    // finding the pedal's keyboards and mice.
    DiscoveryReport LastDiscovery;

private:
    void ClearDiscovery();
    void ReleaseHandles();

    HidBackend& backend_;
};

} // namespace treadkey
