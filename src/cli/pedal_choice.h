#pragma once

#include "cli/pedal_names.h"

#include <string>
#include <vector>

namespace treadkey {

// Which pedal a run works on, from --pedal and the pedals present (their identities, in enumeration order).
struct PedalChoice {
    std::string pedal; // its identity; empty when none was asked for and none had to be
    std::string error; // a usage error: the pedal asked for is not present, or a write must be told which
};

// `asked` is an identity or a nickname; empty when --pedal was not given. A run that writes is never left to
// guess between several pedals.
PedalChoice ChoosePedal(const std::vector<std::string>& present, const std::string& asked,
                        const PedalNames& names, bool writes);

// For a command that reads a pedal's record: `asked` may name a pedal that is only recorded (`recorded`, the
// identities with a record), and the error lists the pedals plugged in, then those recorded. Empty when
// --pedal was not given.
PedalChoice ChooseRecordedPedal(const std::vector<std::string>& present,
                                const std::vector<std::string>& recorded, const std::string& asked,
                                const PedalNames& names);

// "serial:ABC123 (left)" for a pedal with a nickname, else its identity alone.
std::string PedalWithName(const std::string& pedal, const PedalNames& names);

} // namespace treadkey
