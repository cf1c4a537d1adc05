#pragma once

#include <string>
#include <string_view>

namespace treadkey {

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
