#include "cli/pedal_choice.h"

#include "arguments/shown_text.h"

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
    return {"", "no pedal '" + ShownText(asked) + "' is " + std::string(where) + "; pedals " +
                    std::string(listedAs) + ": " + Listed(known, names)};
}

} // namespace

PedalChoice ChoosePedal(const std::vector<std::string>& present, const std::string& asked,
                        const PedalNames& names, bool writes) {
    if (asked.empty()) {
        if (writes && present.size() > 1) {
            return {"", std::to_string(present.size()) + " pedals are plugged in (" + Listed(present, names) +
                            "): choose one with --pedal ID or --pedal NAME ('treadkeyctl identify' tells "
                            "which one you press)"};
        }
        return {};
    }
    return NamedPedal(present, asked, names, "plugged in", "present");
}

PedalChoice ChooseRecordedPedal(const std::vector<std::string>& present,
                                const std::vector<std::string>& recorded, const std::string& asked,
                                const PedalNames& names) {
    if (asked.empty()) {
        return {};
    }
    std::vector<std::string> known = present;
    for (const std::string& pedal : recorded) {
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
