#pragma once

#include "stacks/hid_backend.h"

#include <string>
#include <string_view>

namespace treadkey {

// How one physical pedal is told from its twins, which all have the same ids. An identity stays the same
// across replugs into the same port and across restarts, is printable and short enough to type: the USB
// serial number where the pedal has one ("serial:ABC123"), else the port it is plugged into ("usb-1-2.3").

// "serial:" and the serial number; empty when there is none. Blank or zeros only counts as none: it is what
// devices without a serial number (and Wine for them) report, the same for every unit.
std::string SerialIdentity(std::string_view serial);

// The pedal an interface belongs to: the identity its backend gave, or, where the backend could not tell,
// the interface's own path, so that interfaces are never taken for one pedal by their ids alone.
std::string PedalOf(const HidInterface& interface);

// The identity of the HID device whose uevent text (KEY=value lines) is given and whose sysfs directory,
// links resolved, is `devicePath`: HID_UNIQ as the serial; else the USB device the HID device hangs under
// ("usb-" and its sysfs name, "1-2.3"); else HID_PHYS without its "/inputN" suffix. Empty when none tells.
std::string SysfsPedalIdentity(std::string_view uevent, std::string_view devicePath);

} // namespace treadkey
