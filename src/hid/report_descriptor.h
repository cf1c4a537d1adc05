#pragma once

#include "hid/hid_usage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace treadkey {

// The output report length a HID report descriptor declares, counted the way the Windows HID stack fills in
// OutputReportByteLength: the longest output report over all report ids, in whole bytes, plus one byte for
// the report id whether or not the device numbers its reports. A descriptor without output items gives 0, one
// that ReadDescriptor refuses gives nothing.
std::optional<int> OutputReportLengthFromDescriptor(std::span<const std::uint8_t> descriptor);

// The top-level collections a descriptor declares, in order: for each Collection item outside every other
// collection, the usage page and the first usage given before it (a four-byte usage names its own page).
// Nested collections are not listed. A descriptor that ReadDescriptor refuses gives none.
std::vector<HidCollection> TopLevelCollectionsFromDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace treadkey
