#pragma once

#include "pedal/discovery_report.h"

#include <string>

namespace treadkey {

// The status tooltip's account of which pedal the window took, UTF-8, in Chinese or English: the pedal asked
// for with --pedal (`wanted`, empty when none was) and whether it is there, or the first pedal and that
// others are plugged in too. Empty when one pedal is present and none was asked for, or none is and none
// was asked for.
std::string DescribePedalChoice(const DiscoveryReport& report, const std::string& wanted, bool chinese);

} // namespace treadkey
