#pragma once

#include "device/discovery_report.h"

#include <string>
#include <vector>

namespace treadkey {

// Which interface takes the pedal's frames, one rule for the window, every command and every platform.

// Whether a walk in enumeration order may stop opening candidates: one seen so far takes the frames
// whatever comes after it.
bool ChoiceIsSettled(const std::vector<SeenInterface>& seen);

// Gives every interface seen, in enumeration order, its verdict. Of the candidates (those not passed over),
// the frames go to the first that opens with an output report that holds a whole frame (report id included;
// an unknown length cannot be counted on); only when none does, to the first that opens, which then cuts
// every frame. A candidate that was never tried stood after the choice was settled.
void JudgeInterfaces(std::vector<SeenInterface>& seen);

// The interface a judged run chose; nothing when it chose none.
const SeenInterface* ChosenInterface(const DiscoveryReport& report);

// The path of the interface a judged run chose; empty when it chose none.
std::string ChosenPath(const DiscoveryReport& report);

} // namespace treadkey
