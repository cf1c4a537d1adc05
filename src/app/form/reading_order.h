#pragma once

#include "editor/key_table.h"

#include <cstddef>
#include <vector>

namespace treadkey {

// The order in which a reader meets controls of one container, given their places: row by row as they are
// drawn, each row from left to right; indices into places. The rows are those of the controls at the
// container's left edge; any other control joins the row whose top is nearest its own (the upper one on a
// tie), so that a key drawn a little lower, such as an arrow key or a keypad key, stays with the row it is
// drawn beside. Controls alike in both stay in the order given.
std::vector<std::size_t> InReadingOrder(const std::vector<TwipRect>& places);

} // namespace treadkey
