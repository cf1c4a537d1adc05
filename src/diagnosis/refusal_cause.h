#pragma once

#include "diagnosis/diagnosis.h"
#include "diagnosis/system_root.h"
#include "pedal/discovery_report.h"

#include <optional>
#include <string>

namespace treadkey {

// What a refused open is put down to, where the window and the commands report one.

// The first cause doctor finds, for a discovery run in which an interface refused its open for want of
// permission. Nothing when none did, or when the system's files do not show the pedal the HID stack saw (the
// virtual one, say): the stack's own words stand then.
std::optional<Finding> CauseOfRefusal(const DiscoveryReport& report, const SystemRoot& system);

// "permission denied on /dev/hidraw1: no udev rule names the pedal, ...; run 'treadkeyctl doctor' for every
// check".
std::string RefusalSentence(const std::string& path, const Finding& finding);

// Puts the cause into the words of every interface that refused for want of permission.
void ExplainRefusals(DiscoveryReport& report, const SystemRoot& system);

} // namespace treadkey
