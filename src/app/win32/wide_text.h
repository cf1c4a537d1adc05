#pragma once

#include <string>
#include <string_view>

namespace treadkey {

// The window's texts are UTF-8 and Windows' are UTF-16 (wchar_t): converted at the view's door, in both
// directions, a broken text read as the window reads any.
std::wstring Wide(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);

} // namespace treadkey
