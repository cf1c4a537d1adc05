#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace treadkey {

// The output report length a HID report descriptor declares, counted the way the Windows HID stack fills in
// OutputReportByteLength: the longest output report over all report ids, in whole bytes, plus one byte for
// the report id whether or not the device numbers its reports. A descriptor without output items gives 0. An
// empty, truncated or malformed descriptor, or one whose longest output report would exceed 65535 bytes,
// gives nothing.
std::optional<int> OutputReportLengthFromDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace treadkey
