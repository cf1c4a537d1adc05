#pragma once

#include "stacks/hid_backend.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// What the Windows backend makes of the records and codes that setupapi.dll, hid.dll and kernel32 hand back.
// Plain bytes and numbers in, so that it builds and is tested on every platform; windows_backend.cpp makes
// the calls.
namespace treadkey::windows_hid {

// Where the path starts in SP_DEVICE_INTERFACE_DETAIL_DATA_A: after its 32-bit size field, on 32- and 64-bit
// Windows alike (only the size field's value differs).
inline constexpr std::size_t kDetailPathOffset = 4;

// The device path in a detail record as SetupDiGetDeviceInterfaceDetailA filled it: the single-byte
// characters after the size field, up to the first zero byte or the record's end. Nothing when the record
// is too short to hold a path or the path is empty.
std::optional<std::string> PathFromDetailRecord(std::span<const std::uint8_t> record);

// The top-level collection of one Windows HID interface (Windows gives each its own), from HIDP_CAPS'
// UsagePage and Usage; none when the capabilities could not be read, so that the interface stays a
// candidate rather than being judged on zeros.
std::vector<HidCollection> CollectionsFromCaps(std::optional<HidCollection> capsUsage);

// A device node above a HID interface's own: its instance id ("USB\\VID_2704&PID_2018\\ABC123") and the
// location it reports (SPDRP_LOCATION_INFORMATION, "Port_#0002.Hub_#0003"; empty when it reports none).
struct DeviceNode {
    std::string instanceId;
    std::string location;
};

// The identity of the pedal a HID interface belongs to (see pedal_identity.h), from the serial number the HID
// stack gives (HidD_GetSerialNumberString; empty when it gives none) and the nodes above the interface,
// nearest first. Without a serial, the pedal is the first USB node that is not one of its interfaces (no
// "&MI_" in its ids): the last part of its instance id is its serial number where that has no '&' (Windows
// makes up one with '&' for a device without a serial), else the node is known by its port. Empty when
// neither tells.
std::string PedalIdentityFromAncestors(std::string_view hidSerial, std::span<const DeviceNode> ancestors);

// Win32 error codes the open distinguishes (winerror.h).
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorNoSuchDevice = 433;
inline constexpr std::uint32_t kErrorDeviceNotConnected = 1167;

// A Win32 error code (GetLastError's value) as a system error code.
std::error_code WindowsError(std::uint32_t error);

// Why CreateFileA failed to open `interface` for writing with `error` (GetLastError's value, 0 when unknown),
// as the backend reports it. Its collections were read without write access. Access denied is never a
// permission the user could grant on Windows: on a collection the system holds (keyboard, mouse, ...) it is
// the system keeping it, elsewhere another program that opened the interface unshared.
OpenResult OpenFailureFor(const HidInterface& interface, std::uint32_t error);

} // namespace treadkey::windows_hid
