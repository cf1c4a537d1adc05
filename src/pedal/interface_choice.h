#pragma once

#include "pedal/discovery_report.h"
#include "stacks/hid_backend.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// Finding the pedal's interfaces and which one takes its frames: one walk and one rule for the window, every
// command and every platform.

// Gives every interface seen, in enumeration order, its verdict. Of the candidates (those not passed over),
// the frames go to the first that opens with an output report that holds a whole frame (report id included;
// an unknown length cannot be counted on); only when none does, to the first that opens, which then cuts
// every frame. A candidate that was never tried stood after the choice was settled.
void JudgeInterfaces(std::vector<SeenInterface>& seen);

// The interface a judged run chose; nothing when it chose none.
const SeenInterface* ChosenInterface(const DiscoveryReport& report);

// The path of the interface a judged run chose; empty when it chose none.
std::string ChosenPath(const DiscoveryReport& report);

// Which interfaces a discovery walk opens to judge them.
enum class Opening {
    None,       // judges from the enumeration alone
    Candidates, // those not passed over, until the choice is settled: what sending frames needs
    Every,      // each one, to tell the user what it is
};

// The one walk over the present interfaces with the given ids of one pedal (`pedal`, or when that is empty
// the pedal of the first such interface): every one is recorded in `report`, in enumeration order, opened as
// `opening` says and closed again, and judged by JudgeInterfaces; `report` names that pedal and every pedal
// present. Returns the chosen interface still open; nothing when none was chosen. `report` keeps its room
// from run to run.
std::unique_ptr<HidDevice> DiscoverInterfaces(HidBackend& backend, std::uint16_t vendorId,
                                              std::uint16_t productId, Opening opening,
                                              DiscoveryReport& report, std::string_view pedal = {});

// The same walk over every pedal present, from one enumeration: a report for each, in enumeration order of
// their first interfaces. Nothing is kept open.
std::vector<DiscoveryReport> DiscoverPedals(HidBackend& backend, std::uint16_t vendorId,
                                            std::uint16_t productId, Opening opening);

} // namespace treadkey
