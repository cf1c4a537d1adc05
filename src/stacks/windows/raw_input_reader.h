#pragma once

#include "stacks/hid_backend.h"
#include "stacks/windows/raw_input_reports.h"

#include <string>

namespace treadkey::windows_hid {

// Opens the keyboard or mouse collection at `path` (a HID interface path) for reading through Raw Input, the
// one way Windows lets a program see what such a collection sends: its events come back as the boot reports
// the collection would have sent, queued from the open on. Refused when Raw Input cannot tell the
// collection's events from other devices': when it lists no device of that collection, and under Wine, whose
// one keyboard and one mouse stand for all, whatever name they are listed under. Reading those would take
// every keyboard's keystrokes for the pedal's.
OpenResult OpenRawInputReader(const std::string& path, RawInputKind kind);

// Reads the events of the Raw Input device named `deviceName` as OpenRawInputReader does, with no question
// whether they are the collection's at `path` alone (the path only words a failure).
OpenResult ReadRawInputDevice(const std::string& path, const std::string& deviceName, RawInputKind kind);

} // namespace treadkey::windows_hid
