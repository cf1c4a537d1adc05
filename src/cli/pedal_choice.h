#pragma once

#include "cli/commands/command.h"
#include "record/pedal_names.h"

#include <functional>
#include <string>
#include <vector>

namespace treadkey {

// Which pedal a run works on, from what the user asked and the pedals present (their identities, in
// enumeration order).
struct PedalChoice {
    std::string pedal; // its identity; empty when none was asked for and none had to be
    std::string error; // why none can be: the pedal asked for is not known, or the user must say which
    int exitCode = 0;  // with an error
};

// `asked` is an identity or a nickname; empty when the user named none. `recorded` gives the identities with
// a record, for a command that reads a pedal's record: it may name a pedal that is not plugged in.
PedalChoice ChoosePedal(PedalNeed need, const std::vector<std::string>& present, const std::string& asked,
                        const PedalNames& names, const std::function<std::vector<std::string>()>& recorded);

// "serial:ABC123 (left)" for a pedal with a nickname, else its identity alone.
std::string PedalWithName(const std::string& pedal, const PedalNames& names);

} // namespace treadkey
