#include "stacks/pedal_identity.h"

#include <algorithm>
#include <cctype>

namespace treadkey {
namespace {

// Kept typeable on any shell: blanks, control and non-ASCII characters become '_'.
std::string Printable(std::string_view text) {
    std::string printable(text);
    std::replace_if(
        printable.begin(), printable.end(),
        [](char c) { return static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F; },
        '_');
    return printable;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view UeventValue(std::string_view uevent, std::string_view key) {
    while (!uevent.empty()) {
        const std::size_t end = std::min(uevent.find('\n'), uevent.size());
        const std::string_view line = uevent.substr(0, end);
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=') {
            return Trimmed(line.substr(key.size() + 1));
        }
        uevent.remove_prefix(std::min(end + 1, uevent.size()));
    }
    return {};
}

// A USB device's sysfs name: bus, '-', then port numbers joined by '.' ("1-2.3"); its interfaces add ":1.0".
bool IsUsbDeviceName(std::string_view name) {
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size()) {
        return false;
    }
    const auto digits = [](std::string_view part, bool dots) {
        return std::all_of(part.begin(), part.end(), [dots](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0 || (dots && c == '.');
        });
    };
    const std::string_view ports = name.substr(dash + 1);
    return digits(name.substr(0, dash), false) && digits(ports, true) && ports.front() != '.' &&
           ports.back() != '.';
}

std::string_view WithoutInputSuffix(std::string_view phys) {
    const std::size_t slash = phys.rfind("/input");
    if (slash == std::string_view::npos) {
        return phys;
    }
    const std::string_view number = phys.substr(slash + 6);
    const bool isNumber = !number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
    return isNumber ? phys.substr(0, slash) : phys;
}

} // namespace

std::string SerialIdentity(std::string_view serial) {
    serial = Trimmed(serial);
    const bool zeros = std::all_of(serial.begin(), serial.end(), [](char c) { return c == '0'; });
    return zeros ? std::string() : "serial:" + Printable(serial);
}

std::string PedalOf(const HidInterface& interface) {
    return interface.pedal.empty() ? interface.path : interface.pedal;
}

std::string SysfsPedalIdentity(std::string_view uevent, std::string_view devicePath) {
    if (std::string serial = SerialIdentity(UeventValue(uevent, "HID_UNIQ")); !serial.empty()) {
        return serial;
    }
    // The nearest USB device above the HID device, the innermost on the way down from the root.
    std::string_view usbDevice;
    for (std::string_view rest = devicePath; !rest.empty();) {
        const std::size_t slash = std::min(rest.find('/'), rest.size());
        if (IsUsbDeviceName(rest.substr(0, slash))) {
            usbDevice = rest.substr(0, slash);
        }
        rest.remove_prefix(std::min(slash + 1, rest.size()));
    }
    if (!usbDevice.empty()) {
        return "usb-" + std::string(usbDevice);
    }
    return Printable(WithoutInputSuffix(UeventValue(uevent, "HID_PHYS")));
}

} // namespace treadkey
