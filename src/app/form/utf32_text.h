#pragma once

#include <string>
#include <string_view>

namespace treadkey {

// The window's texts are UTF-8; the command box's filter reads them a character at a time. A byte that
// starts no valid character becomes U+FFFD, as the toolkits show it.
std::u32string Utf32Of(std::string_view utf8);
std::string Utf8Of(std::u32string_view text);

// Windows hands its texts over as UTF-16. A surrogate without its partner becomes U+FFFD, as a broken UTF-8
// byte does, rather than a character the user did not type.
std::u32string Utf32OfUtf16(std::u16string_view utf16);
std::u16string Utf16Of(std::u32string_view text);

} // namespace treadkey
