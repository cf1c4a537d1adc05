#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace treadkey {

// Turns a command text ("AA 01 7C 79 01 00 00") into one output report of `length` bytes: byte 0 is the
// report id 0, then the digits paired by position (spaces carry no meaning), zero-filled or cut to the
// length. An odd digit count follows the pairing rule exactly: the last slice may hold a single digit. A
// slice that holds a character other than a hex digit counts by its leading hex digits only. A length below 1
// gives no report.
std::vector<std::uint8_t> BuildOutputReport(std::string_view text, int length);

} // namespace treadkey
