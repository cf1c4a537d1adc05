#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace treadkey {

// The length of the well-formed UTF-8 sequence at the start of text (RFC 3629) and its code point; 0 when
// the bytes there are not UTF-8 (a stray continuation, an overlong form, a surrogate, a sequence cut short).
std::size_t Utf8Sequence(std::string_view text, std::uint32_t& codePoint);

// Appends the code point as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t codePoint);

} // namespace treadkey
