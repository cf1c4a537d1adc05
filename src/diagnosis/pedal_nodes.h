#pragma once

#include "diagnosis/system_root.h"
#include "stacks/hid_backend.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace treadkey {

// One hidraw node of the pedal, as sysfs describes it without opening anything.
struct PedalNode {
    std::string name;                // "hidraw3"
    std::filesystem::path node;      // "/dev/hidraw3"
    std::string deviceNumber;        // "major:minor", as udev's database names it
    std::string hidDevice;           // the HID device's sysfs name: "0003:2704:2018.0004"
    std::optional<int> usbInterface; // bInterfaceNumber, where the pedal sits on USB
    std::vector<HidCollection> collections;
    std::optional<int> outputReportLength;
};

// The hidraw nodes of HID devices with the pedal's ids, in name order, from sys/class/hidraw.
std::vector<PedalNode> FindPedalNodes(const SystemRoot& system);

} // namespace treadkey
