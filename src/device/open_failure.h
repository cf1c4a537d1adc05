#pragma once

#include "device/hid_backend.h"

#include <string>
#include <string_view>
#include <system_error>

namespace treadkey {

// Why an interface that another program opened unshared does not open, and what to do about it.
inline constexpr std::string_view kOpenedElsewhere = "another program has it open alone; close that program";

// The one wording of a failed open for every HID stack: why opening `path` failed and, where known, how to
// fix it. `error` is the system's code, empty when it gave none.
std::string DescribeOpenFailure(const std::string& path, OpenFailure failure, std::error_code error);

// A failed open as a stack reports it: the kind, the code and their wording.
OpenResult RefusedOpen(const std::string& path, OpenFailure failure, std::error_code error);

} // namespace treadkey
