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
    if (IsPresent(present, asked)) {
        return {asked, ""};
    }
    for (const auto& [pedal, name] : names) {
        if (name == asked && IsPresent(present, pedal)) {
            return {pedal, ""};
        }
    }
    return {"",
            "no pedal '" + ShownText(asked) + "' is plugged in; pedals present: " + Listed(present, names)};
}

std::string PedalWithName(const std::string& pedal, const PedalNames& names) {
    const auto named = names.find(pedal);
    return named != names.end() ? ShownText(pedal) + " (" + ShownText(named->second) + ")" : ShownText(pedal);
}

} // namespace treadkey
