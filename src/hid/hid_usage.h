#pragma once

#include <compare>
#include <cstdint>
#include <cstdio>
#include <string>

namespace treadkey {

// A usage, by its page and its id on that page.
struct HidUsage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;

    friend auto operator<=>(const HidUsage&, const HidUsage&) = default;
};

// A usage's page and id in hexadecimal, as the messages and the monitor show it: "000C:00E9".
inline std::string UsageHex(HidUsage usage) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X:%04X", usage.page, usage.usage);
    return text;
}

// One top-level collection of an interface's report descriptor, known by its usage.
using HidCollection = HidUsage;

} // namespace treadkey
