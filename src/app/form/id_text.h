#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace treadkey {

// An id as the hidden id boxes give it: "&H" followed by hexadecimal digits. Nothing when the text is not of
// that form or the number does not fit 16 bits; such an id matches no device.
std::optional<std::uint16_t> ParseIdText(std::string_view idText);

} // namespace treadkey
