#include "cli/value_ranges.h"

#include <charconv>

namespace treadkey {

std::optional<int> ParseWholeNumber(std::string_view text, int lowest, int highest) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt; // from_chars would take a leading minus
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

} // namespace treadkey
