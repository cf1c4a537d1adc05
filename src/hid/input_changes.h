#pragma once

#include "hid/hid_usage.h"
#include "hid/input_layout.h"
#include "hid/input_report.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace treadkey {

// Something went down or came up. A press names what newly went down, with every modifier held beside a
// new key; a release names what came up, with the modifiers that were held beside a key that came up.
struct PedalEvent {
    enum class Kind { Press, Release };
    Kind kind = Kind::Press;
    HeldInputs inputs;

    friend bool operator==(const PedalEvent&, const PedalEvent&) = default;
};

// Turns one interface's input reports, each a picture of what is held, into presses and releases.
class InterfaceInput {
public:
    // The layout comes from the interface's report descriptor; without a readable one, a keyboard or mouse
    // interface is read in its boot layout and any other reads nothing.
    InterfaceInput(const std::optional<std::vector<std::uint8_t>>& descriptor,
                   const std::vector<HidCollection>& collections);

    struct Reading {
        bool known = false;             // the report could be decoded; an unknown one changes nothing
        std::vector<PedalEvent> events; // releases before presses
    };
    Reading Read(std::span<const std::uint8_t> report);
    // Whether the last reports hold any key or button down.
    bool Holding() const;

private:
    std::optional<InputLayout> layout_;
    std::map<std::uint8_t, HeldInputs> held_; // by report id: each report pictures its own inputs only
};

// The events between two pictures of the same report.
std::vector<PedalEvent> Changes(const HeldInputs& before, const HeldInputs& after);

} // namespace treadkey
