#pragma once

#include "protocol/frame_layout.h"
#include "stacks/hid_backend.h"

#include <optional>
#include <string>
#include <vector>

namespace treadkey {

// What became of one interface with the pedal's ids in a discovery run.
enum class InterfaceVerdict {
    Chosen,       // the pedal's frames go here
    HeldBySystem, // passed over unopened: the system keeps all its collections to itself
    DoesNotOpen,
    CannotHoldFrame, // opens, but its output report is too short for a frame and a later one's is not
    NotChosen,       // an earlier interface takes the frames
};

struct SeenInterface {
    HidInterface interface;
    InterfaceVerdict verdict = InterfaceVerdict::DoesNotOpen;
    // An open was tried; discovery never tries one held by the system, nor one past a settled choice.
    bool tried = false;
    bool opens = false;
    OpenFailure openFailure = OpenFailure::Unknown; // tried and failed
    std::string openProblem;                        // tried and failed: the HID stack's own words
    std::optional<int> outputReportLength;          // opened, and it could tell

    friend bool operator==(const SeenInterface&, const SeenInterface&) = default;
};

// Something the user should hear about a discovery run, besides its outcome.
enum class DiscoveryNote {
    None,
    NoConfigurationInterface, // interfaces with the ids are present, every one held by the system
    NoneOpens,                // none held by the system opens
    ShortOutputReport,        // the chosen interface cannot take a whole frame in one report
};

// The interfaces of one pedal that a discovery run looked at, in enumeration order, and what it makes of
// them. Wording is left to whoever shows it.
struct DiscoveryReport {
    DiscoveryNote note = DiscoveryNote::None;
    std::vector<SeenInterface> seen;
    std::string pedal;               // whose interfaces `seen` holds; empty when none was looked at
    std::vector<std::string> pedals; // every pedal with the wanted ids present, in enumeration order

    friend bool operator==(const DiscoveryReport&, const DiscoveryReport&) = default;
};

// The note a run with these interfaces deserves.
DiscoveryNote NoteFor(const std::vector<SeenInterface>& seen);

} // namespace treadkey
