#pragma once

#include <cstdint>

namespace treadkey {

// The pedal's USB ids.
inline constexpr std::uint16_t kPedalVendorId = 0x2704;
inline constexpr std::uint16_t kPedalProductId = 0x2018;

} // namespace treadkey
