#include "app/reading_order.h"

#include <algorithm>
#include <cstdlib>

namespace treadkey {

std::vector<QWidget*> InReadingOrder(std::vector<QWidget*> controls) {
    if (controls.empty()) {
        return controls;
    }
    const auto leftOf = [](const QWidget* control) { return control->geometry().left(); };
    const int leftEdge = leftOf(*std::min_element(
        controls.begin(), controls.end(), [&](QWidget* a, QWidget* b) { return leftOf(a) < leftOf(b); }));
    std::vector<int> rowTops;
    for (const QWidget* control : controls) {
        if (leftOf(control) == leftEdge) {
            rowTops.push_back(control->geometry().top());
        }
    }
    std::sort(rowTops.begin(), rowTops.end());
    const auto rowOf = [&rowTops](const QWidget* control) {
        const int top = control->geometry().top();
        std::size_t nearest = 0;
        for (std::size_t row = 1; row < rowTops.size(); ++row) {
            if (std::abs(rowTops[row] - top) < std::abs(rowTops[nearest] - top)) {
                nearest = row;
            }
        }
        return nearest;
    };
    std::stable_sort(controls.begin(), controls.end(), [&](const QWidget* a, const QWidget* b) {
        const std::size_t rowA = rowOf(a);
        const std::size_t rowB = rowOf(b);
        return rowA != rowB ? rowA < rowB : leftOf(a) < leftOf(b);
    });
    return controls;
}

} // namespace treadkey
