#include "stacks/pedal_identity.h"

#include <gtest/gtest.h>

#include <string>

namespace treadkey {
namespace {

TEST(SysfsPedalIdentity, TakesTheSerialElseTheUsbPortElseThePhysicalPath) {
    const std::string usbDevice =
        "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2.3/1-2.3:1.0/0003:2704:2018.0005";
    const struct {
        std::string uevent;
        std::string devicePath;
        std::string identity;
    } cases[] = {
        {"HID_ID=0003:00002704:00002018\nHID_PHYS=usb-0000:00:14.0-2.3/input0\nHID_UNIQ=ABC123\n", usbDevice,
         "serial:ABC123"},
        {"HID_PHYS=usb-0000:00:14.0-2.3/input0\nHID_UNIQ=000000\n", usbDevice, "usb-1-2.3"},
        {"HID_UNIQ=  \n", "/sys/devices/pci0000:00/0000:00:14.0/usb3/3-1/3-1:1.2/0003:2704:2018.0001",
         "usb-3-1"},
        // Not under a USB device (uhid, say): the physical path without the interface's inputN.
        {"HID_PHYS=usb-dummy-4/input1\n", "/sys/devices/virtual/misc/uhid/0003:2704:2018.0007",
         "usb-dummy-4"},
        {"HID_PHYS=bus 7/input\n", "", "bus_7/input"},
        {"HID_NAME=pedal\n", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SysfsPedalIdentity(c.uevent, c.devicePath), c.identity) << c.uevent << c.devicePath;
    }
}

} // namespace
} // namespace treadkey
