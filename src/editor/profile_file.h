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

// The JSON text inside the bytes of a profile file, or why the bytes are not a UTF-8 text to read.
struct ProfileText {
    std::string_view json; // the bytes after a UTF-8 byte-order mark, if there is one
    std::string fault;     // one phrase, when the bytes cannot be read as JSON
};

// Editors on Windows often write a UTF-8 byte-order mark, which is dropped; UTF-16 and UTF-32 (PowerShell's
// '>' writes UTF-16) are recognised, with or without a mark, by the zero bytes around the ASCII character
// that JSON starts with, and refused with the advice to save as UTF-8. Other bytes with a NUL among them
// are not text at all, and are refused as such.
ProfileText ProfileTextOf(std::string_view bytes);

} // namespace treadkey
