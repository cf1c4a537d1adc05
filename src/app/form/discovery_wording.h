#pragma once

#include "diagnosis/diagnosis.h"
#include "pedal/discovery_report.h"

#include <optional>

#include <string>

namespace treadkey {

// The status tooltip's account of a discovery run, UTF-8, in Chinese or English: which interfaces with the
// pedal's ids were seen and why none was taken, why one that opens was passed over for a report too short
// for a frame, or why the one taken may be the wrong one; that no device with the pedal's ids is present
// when none is. Empty when the run has nothing to explain. The English text is also the window's stderr line.
// An interface refused for want of permission is put down to `refusalCause`, where doctor found one.
std::string ExplainDiscovery(const DiscoveryReport& report, bool chinese,
                             const std::optional<Finding>& refusalCause);

// The status tooltip's account of which pedal the window took, UTF-8, in Chinese or English: the pedal asked
// for with --pedal (`wanted`, empty when none was) and whether it is there, or the first pedal and that
// others are plugged in too. Empty when one pedal is present and none was asked for, or none is and none
// was asked for.
std::string DescribePedalChoice(const DiscoveryReport& report, const std::string& wanted, bool chinese);

} // namespace treadkey
