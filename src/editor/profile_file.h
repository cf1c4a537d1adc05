#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace treadkey {

// The FILE operand that names standard input, as most tools take it.
inline constexpr std::string_view kStandardInputPath = "-";

// The most bytes a profile may hold. A whole pedal's profile is a few hundred bytes; the bound is only there
// so that an endless input (a device such as /dev/zero, a pipe that never ends) is refused, not held.
inline constexpr std::size_t kMostProfileBytes = std::size_t{64} * 1024 * 1024;

struct ProfileBytes {
    std::string bytes;
    std::string fault; // one line naming the file and the reason, when it could not be read whole
};

// The bytes of the profile file at `path`, or of standard input for "-", read in bounded pieces.
ProfileBytes ReadProfileBytes(const std::string& path, std::istream& standardInput);

} // namespace treadkey
