#pragma once

#include <compare>
#include <cstdint>

namespace treadkey {

// A usage, by its page and its id on that page.
struct HidUsage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;

    friend auto operator<=>(const HidUsage&, const HidUsage&) = default;
};

// One top-level collection of an interface's report descriptor, known by its usage.
using HidCollection = HidUsage;

} // namespace treadkey
