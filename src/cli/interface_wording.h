#pragma once

#include "pedal/discovery_report.h"

#include <string>
#include <string_view>

namespace treadkey {

// How treadkeyctl words what discovery saw, in English.

inline constexpr std::string_view kNoPedalFound = "no pedal found (vendor 2704, product 2018)";

// Every collection with its page and usage: "keyboard (0001:0006), consumer control (000C:0001)", or
// "collections unknown".
std::string DescribeCollections(const HidInterface& interface);

// The verdict as list's JSON names it: "chosen", "held by the system", ...
std::string_view VerdictName(InterfaceVerdict verdict);

// What became of the interface: "the pedal's frames go here", "passed over: ...", and so on; `framesGoTo`
// is the path of the interface chosen in the same run.
std::string DescribeVerdict(const SeenInterface& seen, const std::string& framesGoTo);

// The warning for a chosen interface whose output report cuts every frame; empty when it takes them whole.
std::string ShortReportWarning(const SeenInterface& seen);

// Why no interface was taken, naming each one seen; for a report whose note is NoConfigurationInterface or
// NoneOpens.
std::string DescribeNoInterfaceTaken(const DiscoveryReport& report);

} // namespace treadkey
