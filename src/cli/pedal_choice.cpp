#include "cli/pedal_choice.h"

#include "arguments/shown_text.h"
#include "cli/interface_wording.h"

#include <algorithm>

namespace treadkey {
namespace {

std::string Listed(const std::vector<std::string>& present, const PedalNames& names) {
    if (present.empty()) {
        return "none";
    }
    std::string listed;
    for (const std::string& pedal : present) {
        listed += (listed.empty() ? "" : ", ") + PedalWithName(pedal, names);
    }
    return listed;
}

bool IsPresent(const std::vector<std::string>& present, const std::string& pedal) {
    return std::find(present.begin(), present.end(), pedal) != present.end();
}

PedalChoice Refused(std::string error, int exitCode = kExitUsageError) {
    return {"", std::move(error), exitCode};
}

// The pedal among `known` that `asked` names by identity or nickname, else why none is: `where` says what
// makes a pedal known ("plugged in"), `listedAs` heads the list of those that are.
PedalChoice NamedPedal(const std::vector<std::string>& known, const std::string& asked,
                       const PedalNames& names, std::string_view where, std::string_view listedAs) {
    if (IsPresent(known, asked)) {
        return {asked, ""};
    }
    for (const auto& [pedal, name] : names) {
        if (name == asked && IsPresent(known, pedal)) {
            return {pedal, ""};
        }
    }
    return Refused("no pedal '" + ShownText(asked) + "' is " + std::string(where) + "; pedals " +
                   std::string(listedAs) + ": " + Listed(known, names));
}

std::string Several(const std::vector<std::string>& present) {
    return std::to_string(present.size()) + " pedals are plugged in";
}

// The pedal a run works on when none was asked for.
PedalChoice UnaskedPedal(PedalNeed need, const std::vector<std::string>& present, const PedalNames& names) {
    switch (need) {
    case PedalNeed::None:
    case PedalNeed::AnyOrAll:
        break;
    case PedalNeed::OneToWrite:
        // One pedal or none: the write finds it, or says that none is there.
        if (present.size() > 1) {
            return Refused(Several(present) + " (" + Listed(present, names) +
                           "): choose one with --pedal ID or --pedal NAME ('treadkeyctl identify' tells "
                           "which one you press)");
        }
        break;
    case PedalNeed::OnePresent:
        if (present.size() == 1) {
            return {present[0], ""};
        }
        return present.empty() ? Refused(std::string(kNoPedalFound) + ": is it plugged in?", kExitDeviceError)
                               : Refused(Several(present) + ": choose one with --pedal ID or --pedal NAME");
    case PedalNeed::Recorded:
        if (present.size() == 1) {
            return {present[0], ""};
        }
        return Refused((present.empty() ? std::string("no pedal is plugged in") : Several(present)) +
                       ": say whose record with --pedal ID or --pedal NAME");
    }
    return {};
}

} // namespace

PedalChoice ChoosePedal(PedalNeed need, const std::vector<std::string>& present, const std::string& asked,
                        const PedalNames& names, const std::function<std::vector<std::string>()>& recorded) {
    if (asked.empty()) {
        return UnaskedPedal(need, present, names);
    }
    if (need != PedalNeed::Recorded) {
        return NamedPedal(present, asked, names, "plugged in", "present");
    }
    std::vector<std::string> known = present;
    for (const std::string& pedal : recorded()) {
        if (!IsPresent(known, pedal)) {
            known.push_back(pedal);
        }
    }
    return NamedPedal(known, asked, names, "plugged in or recorded", "known");
}

std::string PedalWithName(const std::string& pedal, const PedalNames& names) {
    const auto named = names.find(pedal);
    return named != names.end() ? ShownText(pedal) + " (" + ShownText(named->second) + ")" : ShownText(pedal);
}

} // namespace treadkey
