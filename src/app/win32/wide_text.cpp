#include "app/win32/wide_text.h"

#include "app/form/utf32_text.h"

namespace treadkey {

std::wstring Wide(std::string_view utf8) {
    const std::u16string utf16 = Utf16Of(Utf32Of(utf8));
    return {utf16.begin(), utf16.end()};
}

std::string Utf8OfWide(std::wstring_view wide) {
    return Utf8Of(Utf32OfUtf16(std::u16string(wide.begin(), wide.end())));
}

} // namespace treadkey
