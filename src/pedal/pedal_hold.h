#pragma once

#include "pedal/discovery_report.h"
#include "stacks/hid_backend.h"

#include <memory>
#include <string>
#include <vector>

namespace treadkey {

// An interface the pedal types or clicks through whose input could not be held: its keys and clicks also
// reach the focused window.
struct UnheldInterface {
    std::string path;
    HoldRefusal refusal = HoldRefusal::NotOffered;
    std::string problem;

    friend bool operator==(const UnheldInterface&, const UnheldInterface&) = default;
};

// Holds the input of the pedal's keyboard and mouse interfaces (those PedalWatch reads) while its owner
// wants them kept from every window, the owner's own included; their reports still reach readers of the
// interfaces. The computer's own keyboard and mouse are never among them: only interfaces with the pedal's
// ids are listed.
class PedalHold {
public:
    explicit PedalHold(HidBackend& backend) : backend_(backend) {}

    // Holds each listed keyboard and mouse interface not held yet, trying again those refused for a reason
    // that may pass (a permission that udev grants a moment after the plug); lets go of those no longer
    // listed and of those whose hold the system ended, and holds a replugged one anew.
    void Follow(const std::vector<SeenInterface>& seen);
    // Lets go of every hold. What was refused stays known until the next Follow.
    void Release();

    std::size_t HeldCount() const { return held_.size(); }
    // The listed keyboard and mouse interfaces that the last Follow could not hold.
    const std::vector<UnheldInterface>& Unheld() const { return unheld_; }

private:
    struct Held {
        std::string path;
        std::unique_ptr<InputHold> hold;
    };

    HidBackend& backend_;
    std::vector<Held> held_;
    std::vector<UnheldInterface> unheld_;
};

} // namespace treadkey
