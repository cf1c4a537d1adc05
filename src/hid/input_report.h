#pragma once

#include "hid/input_layout.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace treadkey {

inline constexpr std::uint16_t kKeyboardUsagePage = 0x07;
inline constexpr std::uint16_t kButtonUsagePage = 0x09;

// What one input report says is held down.
struct HeldInputs {
    std::uint8_t modifiers = 0; // the modifier byte's bits: left Ctrl, Shift, Alt, GUI, then the right ones
    std::vector<std::uint16_t> keys; // other keyboard-page usages, in report order, each once
    std::uint32_t buttons = 0;       // bit n-1 for button n: bit 0 left, bit 1 right, bit 2 middle
    std::vector<HidUsage> other;     // any other page, in report order, each once

    bool empty() const { return modifiers == 0 && keys.empty() && buttons == 0 && other.empty(); }
    friend bool operator==(const HeldInputs&, const HeldInputs&) = default;
};

struct DecodedInputReport {
    std::uint8_t reportId = 0;
    HeldInputs held;
};

// Reads one input report as the layout lays it out (report id first when the layout numbers its reports).
// Nothing, the "unknown" result, for an empty report, an id the layout has no input report for, a report
// shorter than its layout, or a keyboard reporting roll-over or another error instead of its keys. Bytes past
// the layout are ignored.
std::optional<DecodedInputReport> DecodeInputReport(const InputLayout& layout,
                                                    std::span<const std::uint8_t> report);

} // namespace treadkey
