#pragma once

#include <chrono>
#include <string>

namespace treadkey {

enum class UtcPrecision { Seconds, Milliseconds };

// A moment in UTC as the record and the monitor's JSON write it: "2026-12-07T23:42:46Z", or with milliseconds
// "2026-12-07T23:42:46.123Z". Digits past the precision are cut, never rounded up into the next second.
std::string UtcText(std::chrono::system_clock::time_point at, UtcPrecision precision);

} // namespace treadkey
