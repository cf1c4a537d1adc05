#include "app/form/id_text.h"

#include "protocol/hex_byte.h"

namespace treadkey {

std::optional<std::uint16_t> ParseIdText(std::string_view idText) {
    if (idText.size() < 3 || idText[0] != '&' || (idText[1] != 'H' && idText[1] != 'h')) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : idText.substr(2)) {
        const std::optional<int> digit = HexDigitValue(c);
        if (!digit) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(*digit);
        if (value > 0xFFFF) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace treadkey
