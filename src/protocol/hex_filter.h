#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace treadkey {

// The 23 characters a command text may hold: 0-9, a-f, A-F and the space.
bool IsCommandTextCharacter(char32_t c);

// One round of the command box's filter: the first character that is not allowed, and the text with every
// occurrence of exactly that character removed. No step when the text is clean. Repeating the step until it
// gives none reports every distinct invalid character once, in the order of first appearance.
struct HexFilterStep {
    char32_t reported;
    std::u32string remaining;
};
std::optional<HexFilterStep> NextHexFilterStep(std::u32string_view text);

} // namespace treadkey
