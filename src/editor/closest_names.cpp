#include "editor/closest_names.h"

#include "editor/input_names.h"

#include <algorithm>
#include <map>
#include <utility>

namespace treadkey {

std::size_t EditDistance(std::string_view a, std::string_view b) {
    // Three rows of the distance matrix: the swap looks two rows back.
    std::vector<std::size_t> twoBack(b.size() + 1);
    std::vector<std::size_t> previous(b.size() + 1);
    std::vector<std::size_t> current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t substitution = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + substitution});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                current[j] = std::min(current[j], twoBack[j - 2] + 1);
            }
        }
        std::swap(twoBack, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

namespace {

// How near a spelling is: fewer steps first, then, as many steps, the spelling that keeps more of its own
// letters, since that one has more in common with the word ("tb" is "tab" before it is "t" or "b").
struct Nearness {
    std::size_t distance;
    std::size_t kept;
    bool operator<(const Nearness& other) const {
        return distance != other.distance ? distance < other.distance : kept > other.kept;
    }
};

} // namespace

std::vector<std::string_view> ClosestNames(std::string_view word, const std::vector<NameSpelling>& candidates,
                                           std::size_t most) {
    const std::string lowerWord = ToLowerAscii(word);
    const std::size_t limit = std::max<std::size_t>(2, lowerWord.size() / 2);
    std::map<std::string_view, Nearness> nearest;
    for (const NameSpelling& candidate : candidates) {
        // The lengths alone bound the distance from below: a word far longer than every name is refused
        // without a distance worked out over all of it.
        const std::size_t lengthDifference = lowerWord.size() > candidate.spelling.size()
                                                 ? lowerWord.size() - candidate.spelling.size()
                                                 : candidate.spelling.size() - lowerWord.size();
        if (lengthDifference > limit) {
            continue;
        }
        const std::string spelling = ToLowerAscii(candidate.spelling);
        const std::size_t distance = EditDistance(lowerWord, spelling);
        // A spelling that every step replaces has nothing in common with the word.
        if (distance > limit || distance >= std::max(lowerWord.size(), spelling.size())) {
            continue;
        }
        const Nearness nearness{distance, spelling.size() - std::min(distance, spelling.size())};
        const auto [entry, inserted] = nearest.emplace(candidate.name, nearness);
        if (!inserted) {
            entry->second = std::min(entry->second, nearness);
        }
    }
    std::vector<std::pair<Nearness, std::string_view>> ranked;
    for (const auto& [name, nearness] : nearest) {
        ranked.emplace_back(nearness, name);
    }
    // Stable, over names in alphabetical order: equally near names stay alphabetical.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < ranked.size() && i < most; ++i) {
        names.push_back(ranked[i].second);
    }
    return names;
}

} // namespace treadkey
