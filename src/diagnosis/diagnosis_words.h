#pragma once

#include "diagnosis/diagnosis.h"

#include <string>
#include <string_view>

namespace treadkey {

// The English sentence for each cause and the one step that mends it; the window words them in Chinese too.

// "no udev rule names the pedal, so ...".
std::string CauseSentence(const Finding& finding);

// "sudo udevadm trigger ...".
std::string CauseMend(const Finding& finding);

// The check's name as doctor prints it: "pedal", "nodes", "rule", "applied", "session".
std::string_view CheckName(CheckId id);

// Where to look further, after a cause shown elsewhere.
inline constexpr std::string_view kRunDoctor = "run 'treadkeyctl doctor' for every check";

} // namespace treadkey
