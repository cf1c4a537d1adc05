#pragma once

#include "kernel/uhid_pedal.h"
#include "protocol/pedal_memory.h"

#include <cstddef>
#include <optional>
#include <string>

namespace treadkey::kerneltest {

// A composite pedal plugged in in a real pedal's order: keyboard, mouse, then the configuration interface.
// Each interface is a uhid device of its own, sharing the pedal's physical path and serial (none when
// empty) as a USB device's interfaces do.
struct CompositePedal {
    CompositePedal(const std::string& phys, const std::string& serial);

    UhidPedal keyboard;
    UhidPedal mouse;
    UhidPedal vendor;
};

// A composite pedal that keeps what it is sent, as the pedal does: its memory is decoded from the reports
// its configuration interface received, and on request it presses a slot by sending what the slot holds.
class RememberingPedal : public CompositePedal {
public:
    // `droppedReport`: the index, among the reports the configuration interface receives, of one that is
    // delivered but does not take, as a write that "succeeded" and did nothing.
    RememberingPedal(const std::string& phys, const std::string& serial,
                     std::optional<std::size_t> droppedReport = std::nullopt);

    PedalMemory memory();
    // The press and release of what the slot holds, through the keyboard or the mouse. Fails the test when
    // the slot holds nothing that can be pressed.
    void press(int slot);

private:
    std::optional<std::size_t> droppedReport_;
};

} // namespace treadkey::kerneltest
