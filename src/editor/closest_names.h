#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// Edit distance counting an insertion, a deletion, a substitution and a swap of two neighbours as one step
// each, so that a typo like "ctlr" is one step from "ctrl".
std::size_t EditDistance(std::string_view a, std::string_view b);

// A name and one spelling it may be looked for by (the name itself, or a caption such as "Pg up").
struct NameSpelling {
    std::string_view name;
    std::string spelling;
};

// The names whose nearest spelling is close to `word` (case-insensitively), nearest first (in steps, then
// the spelling that keeps more of its letters), ties in alphabetical order, at most `most` of them. Close
// means within half the word's length, but at least two steps, and not every letter replaced.
std::vector<std::string_view> ClosestNames(std::string_view word, const std::vector<NameSpelling>& candidates,
                                           std::size_t most);

} // namespace treadkey
