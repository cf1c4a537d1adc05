#pragma once

#include "stacks/hid_backend.h"
#include "stacks/windows/raw_input_reports.h"

#include <string>

namespace treadkey::windows_hid {

// Opens the keyboard or mouse collection at `path` (a HID interface path) for reading through Raw Input, the
// one way Windows lets a program see what such a collection sends: its events come back as the boot reports
// the collection would have sent, queued from the open on. Refused when Raw Input lists no device of that
// collection, as under Wine, whose one keyboard and one mouse stand for all: reading those would take every
// keyboard's keystrokes for the pedal's.
OpenResult OpenRawInputReader(const std::string& path, RawInputKind kind);

} // namespace treadkey::windows_hid
