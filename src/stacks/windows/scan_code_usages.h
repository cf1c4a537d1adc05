#pragma once

#include <cstdint>

// What key a keyboard's scan code names, as Raw Input hands it over: Windows turns every keyboard's HID
// reports into the scan codes of a PC keyboard (set 1), and the pedal's reports are read back from them.
namespace treadkey::windows_hid {

// The flags of a Raw Input keyboard event (RAWKEYBOARD.Flags, winuser.h).
inline constexpr std::uint16_t kRawKeyBreak = 0x01; // the key came up
inline constexpr std::uint16_t kRawKeyE0 = 0x02;    // the scan code came after an E0 prefix
inline constexpr std::uint16_t kRawKeyE1 = 0x04;    // the scan code came after an E1 prefix

// The HID keyboard usage (page 7) of the key with make code `makeCode` after the prefix `flags` names; 0 for
// a code that names no key of a boot keyboard, the shifts Windows makes up around the grey keys included.
std::uint8_t KeyboardUsageOfScanCode(std::uint16_t makeCode, std::uint16_t flags);

} // namespace treadkey::windows_hid
