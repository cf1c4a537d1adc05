#include "pedal/pedal_hold.h"

#include "pedal/pedal_watch.h"

#include <algorithm>
#include <utility>

namespace treadkey {

void PedalHold::Follow(const std::vector<SeenInterface>& seen) {
    const auto listed = [&](const std::string& path) {
        return std::any_of(seen.begin(), seen.end(),
                           [&](const SeenInterface& s) { return s.interface.path == path; });
    };
    std::erase_if(held_, [&](const Held& h) { return !listed(h.path) || h.hold->ended(); });
    std::erase_if(unheld_, [&](const UnheldInterface& u) { return !listed(u.path); });

    for (const SeenInterface& candidate : seen) {
        const std::string& path = candidate.interface.path;
        if (!PedalWatch::IsWatched(candidate.interface) ||
            std::any_of(held_.begin(), held_.end(), [&](const Held& h) { return h.path == path; })) {
            continue;
        }
        const auto unheld = std::find_if(unheld_.begin(), unheld_.end(),
                                         [&](const UnheldInterface& u) { return u.path == path; });
        // Asking a backend that offers no hold again, every tick, would only cost the tick.
        if (unheld != unheld_.end() && unheld->refusal == HoldRefusal::NotOffered) {
            continue;
        }
        HoldResult result = backend_.holdInput(path);
        if (result.hold) {
            held_.push_back({path, std::move(result.hold)});
            if (unheld != unheld_.end()) {
                unheld_.erase(unheld);
            }
        } else if (unheld != unheld_.end()) {
            unheld->refusal = result.refusal;
            unheld->problem = std::move(result.problem);
        } else {
            unheld_.push_back({path, result.refusal, std::move(result.problem)});
        }
    }
}

void PedalHold::Release() {
    held_.clear();
}

} // namespace treadkey
