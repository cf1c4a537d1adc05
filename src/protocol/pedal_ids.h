#pragma once

#include <cstdint>
#include <string_view>

namespace treadkey {

// The pedal's USB ids, as numbers and in the id-text form DeviceLink::FindTheHid takes.
inline constexpr std::uint16_t kPedalVendorId = 0x2704;
inline constexpr std::uint16_t kPedalProductId = 0x2018;
inline constexpr std::string_view kPedalVendorIdText = "&H2704";
inline constexpr std::string_view kPedalProductIdText = "&H2018";

} // namespace treadkey
