#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// Which Raw Input device is which HID interface. SetupAPI names a HID collection by its HID interface path;
// Raw Input names the same collection by its keyboard's or mouse's, in other case and with another class GUID
// at the end ("\\?\HID#VID_2704&PID_2018&MI_01#7&1a2b3c&0&0000#{884b96c3-...}"), and some systems begin it
// with
// "\??\" rather than "\\?\".
namespace treadkey::windows_hid {

// Whether a HID interface path and a Raw Input device name name the same collection: the same up to their
// last "#{", case aside, after either prefix. Empty names name nothing.
bool SameCollection(std::string_view interfacePath, std::string_view rawInputName);

// The first of Raw Input's device names that names the collection at `interfacePath`; nothing when none does.
std::optional<std::string> RawInputNameOf(std::string_view interfacePath,
                                          std::span<const std::string> rawInputNames);

} // namespace treadkey::windows_hid
