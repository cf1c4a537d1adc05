#pragma once

#include <QWidget>
#include <vector>

namespace treadkey {

// Controls of one container as a reader meets them: row by row as they are drawn, each row from left to
// right. The rows are those of the controls at the container's left edge; any other control joins the row
// whose top is nearest its own (the upper one on a tie), so that a key drawn a little lower, such as an arrow
// key or a keypad key, stays with the row it is drawn beside.
std::vector<QWidget*> InReadingOrder(std::vector<QWidget*> controls);

} // namespace treadkey
