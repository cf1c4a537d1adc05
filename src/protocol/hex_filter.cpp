#include "protocol/hex_filter.h"

#include <algorithm>
#include <iterator>

namespace treadkey {

bool IsCommandTextCharacter(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'f') || (c >= U'A' && c <= U'F') || c == U' ';
}

std::optional<HexFilterStep> NextHexFilterStep(std::u32string_view text) {
    const auto invalid = std::find_if_not(text.begin(), text.end(), IsCommandTextCharacter);
    if (invalid == text.end()) {
        return std::nullopt;
    }
    HexFilterStep step{*invalid, std::u32string(text.begin(), invalid)};
    std::copy_if(invalid, text.end(), std::back_inserter(step.remaining),
                 [reported = step.reported](char32_t c) { return c != reported; });
    return step;
}

} // namespace treadkey
