#include "app/form/reading_order.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace treadkey {

std::vector<std::size_t> InReadingOrder(const std::vector<TwipRect>& places) {
    std::vector<std::size_t> order(places.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (places.empty()) {
        return order;
    }
    const int leftEdge =
        std::min_element(places.begin(), places.end(), [](const TwipRect& a, const TwipRect& b) {
            return a.left < b.left;
        })->left;
    std::vector<int> rowTops;
    for (const TwipRect& place : places) {
        if (place.left == leftEdge) {
            rowTops.push_back(place.top);
        }
    }
    std::sort(rowTops.begin(), rowTops.end());
    const auto rowOf = [&rowTops](const TwipRect& place) {
        std::size_t nearest = 0;
        for (std::size_t row = 1; row < rowTops.size(); ++row) {
            if (std::abs(rowTops[row] - place.top) < std::abs(rowTops[nearest] - place.top)) {
                nearest = row;
            }
        }
        return nearest;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::size_t rowA = rowOf(places[a]);
        const std::size_t rowB = rowOf(places[b]);
        return rowA != rowB ? rowA < rowB : places[a].left < places[b].left;
    });
    return order;
}

} // namespace treadkey
