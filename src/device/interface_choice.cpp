#include "device/interface_choice.h"

#include "device/collection_kind.h"
#include "protocol/frame_layout.h"

#include <algorithm>

namespace treadkey {
namespace {

bool IsCandidate(const SeenInterface& seen) {
    return !IsPassedOver(seen.interface);
}

bool TakesWholeFrames(const SeenInterface& seen) {
    return IsCandidate(seen) && seen.opens && seen.outputReportLength &&
           *seen.outputReportLength >= kFrameReportLength;
}

} // namespace

bool ChoiceIsSettled(const std::vector<SeenInterface>& seen) {
    return std::any_of(seen.begin(), seen.end(), TakesWholeFrames);
}

void JudgeInterfaces(std::vector<SeenInterface>& seen) {
    auto chosen = std::find_if(seen.begin(), seen.end(), TakesWholeFrames);
    const bool whole = chosen != seen.end();
    if (!whole) {
        chosen = std::find_if(seen.begin(), seen.end(),
                              [](const SeenInterface& s) { return IsCandidate(s) && s.opens; });
    }
    for (auto it = seen.begin(); it != seen.end(); ++it) {
        if (!IsCandidate(*it)) {
            it->verdict = InterfaceVerdict::HeldBySystem;
        } else if (it == chosen) {
            it->verdict = InterfaceVerdict::Chosen;
        } else if (it->tried && !it->opens) {
            it->verdict = InterfaceVerdict::DoesNotOpen;
        } else if (whole && it < chosen) {
            it->verdict = InterfaceVerdict::CannotHoldFrame;
        } else {
            it->verdict = InterfaceVerdict::NotChosen;
        }
    }
}

const SeenInterface* ChosenInterface(const DiscoveryReport& report) {
    const auto chosen = std::find_if(report.seen.begin(), report.seen.end(), [](const SeenInterface& s) {
        return s.verdict == InterfaceVerdict::Chosen;
    });
    return chosen != report.seen.end() ? &*chosen : nullptr;
}

std::string ChosenPath(const DiscoveryReport& report) {
    const SeenInterface* chosen = ChosenInterface(report);
    return chosen ? chosen->interface.path : std::string();
}

} // namespace treadkey
