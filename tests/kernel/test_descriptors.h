#pragma once

#include "hid/input_layout.h"
#include "kernel/uhid_pedal.h"

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Report descriptors and identities for the virtual devices of the guest tests.
namespace treadkey::kerneltest {

inline constexpr std::uint16_t kPedalVendorId = 0x2704;
inline constexpr std::uint16_t kPedalProductId = 0x2018;

// What the pedal declares: one vendor-defined output report of `count` bytes, no report ids.
inline Bytes VendorOutputDescriptor(std::uint8_t count) {
    return {0x06, 0x00,  0xFF, // Usage Page (vendor-defined 0xFF00)
            0x09, 0x01,        // Usage (1)
            0xA1, 0x01,        // Collection (Application)
            0x15, 0x00,        //   Logical Minimum (0)
            0x26, 0xFF,  0x00, //   Logical Maximum (255)
            0x75, 0x08,        //   Report Size (8)
            0x95, count,       //   Report Count (count)
            0x09, 0x01,        //   Usage (1)
            0x91, 0x02,        //   Output (Data, Variable, Absolute)
            0xC0};             // End Collection
}

// Numbered reports: output 1 of 4 bytes, output 2 of 16 bytes, and an input longer than either.
inline Bytes NumberedReportsDescriptor() {
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF,
            0x00, 0x75, 0x08, 0x85, 0x01, 0x95, 0x04, 0x09, 0x01, 0x91, 0x02, // Report ID 1: 4-byte output
            0x85, 0x02, 0x95, 0x10, 0x09, 0x02, 0x91, 0x02,                   // Report ID 2: 16-byte output
            0x85, 0x03, 0x95, 0x30, 0x09, 0x03, 0x81, 0x02,                   // Report ID 3: 48-byte input
            0xC0};
}

// The boot keyboard (its only output the LED report) and the boot mouse (a Physical collection nested in the
// Application one, no output), as the program itself declares them.
inline Bytes BootKeyboardDescriptor() {
    const std::span<const std::uint8_t> descriptor = treadkey::BootKeyboardDescriptor();
    return {descriptor.begin(), descriptor.end()};
}
inline Bytes BootMouseDescriptor() {
    const std::span<const std::uint8_t> descriptor = treadkey::BootMouseDescriptor();
    return {descriptor.begin(), descriptor.end()};
}

// Two top-level collections in one node, as a keyboard with media keys has them: a keyboard (report 1: the
// boot layout's input, and its LED output of 2 bytes with the report id) and a consumer control (report 2,
// one 16-bit usage in).
inline Bytes KeyboardAndConsumerDescriptor() {
    Bytes descriptor = BootKeyboardDescriptor();
    descriptor.insert(descriptor.begin() + 6, {0x85, 0x01}); // report 1, inside the Keyboard collection
    // Consumer Control, report 2: one usage of 16 bits.
    descriptor.insert(descriptor.end(),
                      {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x03,
                       0x19, 0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0});
    return descriptor;
}

inline UhidIdentity PedalIdentity(Bytes descriptor, std::string name = "treadkey test pedal") {
    return {std::move(name), kPedalVendorId, kPedalProductId, std::move(descriptor)};
}

// The interfaces of a real pedal besides its configuration one, plugged in before it as a real pedal
// enumerates them.
inline UhidIdentity PedalKeyboardIdentity() {
    return PedalIdentity(BootKeyboardDescriptor(), "treadkey test pedal, keyboard interface");
}
inline UhidIdentity PedalMixedKeyboardIdentity() {
    return PedalIdentity(KeyboardAndConsumerDescriptor(), "treadkey test pedal, keyboard with media keys");
}
inline UhidIdentity PedalMouseIdentity() {
    return PedalIdentity(BootMouseDescriptor(), "treadkey test pedal, mouse interface");
}

// The pedal's keyboard interface in the two shapes keyboards come in: a boot keyboard, which the system keeps
// to itself, and one that also carries media keys, which opens but whose LED report cannot hold a frame.
struct KeyboardShape {
    const char* name;
    UhidIdentity identity;
    Bytes reportId;                   // before each keyboard input report
    std::vector<Bytes> mediaKeyInput; // a media key pressed and released: no key of the key table

    Bytes Input(Bytes report) const {
        report.insert(report.begin(), reportId.begin(), reportId.end());
        return report;
    }
};

inline void PrintTo(const KeyboardShape& shape, std::ostream* out) {
    *out << shape.name;
}

inline std::vector<KeyboardShape> KeyboardShapes() {
    return {
        {"BootKeyboard", PedalKeyboardIdentity(), {}, {}},
        {"KeyboardWithMediaKeys", PedalMixedKeyboardIdentity(), {0x01}, {{0x02, 0xE9, 0x00}, {0x02, 0, 0}}}};
}

} // namespace treadkey::kerneltest
