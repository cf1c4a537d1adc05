#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace treadkey {

// A report as the virtual pedal logs it: upper-case two-digit hex bytes, single spaces, report id first
// ("00 AA 01 08 03 04 00 00 00"), no line break.
std::string ReportHexLine(std::span<const std::uint8_t> report);

} // namespace treadkey
