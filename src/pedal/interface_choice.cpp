#include "pedal/interface_choice.h"

#include "hid/collection_kind.h"
#include "protocol/frame_layout.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace treadkey {
namespace {

bool IsCandidate(const SeenInterface& seen) {
    return !IsPassedOver(seen.interface.collections);
}

bool TakesWholeFrames(const SeenInterface& seen) {
    return IsCandidate(seen) && seen.opens && seen.outputReportLength &&
           *seen.outputReportLength >= kFrameReportLength;
}

// Whether a walk in enumeration order may stop opening candidates: one seen so far takes the frames
// whatever comes after it.
bool ChoiceIsSettled(const std::vector<SeenInterface>& seen) {
    return std::any_of(seen.begin(), seen.end(), TakesWholeFrames);
}

} // namespace

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

std::unique_ptr<HidDevice> DiscoverInterfaces(HidBackend& backend, std::uint16_t vendorId,
                                              std::uint16_t productId, Opening opening,
                                              DiscoveryReport& report) {
    report.seen.clear();
    std::vector<std::unique_ptr<HidDevice>> opened; // by place in report.seen, while it may be chosen
    for (HidInterface& candidate : backend.enumerate(vendorId, productId)) {
        if (candidate.vendorId != vendorId || candidate.productId != productId) {
            continue;
        }
        // Every interface with the ids is recorded, so that the pedal's keyboards and mice are known wherever
        // they stand in the enumeration; one past a settled choice, or passed over, can never be chosen.
        const bool mayBeChosen = !ChoiceIsSettled(report.seen) && !IsPassedOver(candidate.collections);
        SeenInterface& seen = report.seen.emplace_back();
        seen.interface = std::move(candidate);
        std::unique_ptr<HidDevice>& kept = opened.emplace_back();
        if (opening == Opening::None || (opening == Opening::Candidates && !mayBeChosen)) {
            continue;
        }
        seen.tried = true;
        OpenResult result = backend.open(seen.interface.path);
        if (!result.device) {
            seen.openFailure = result.failure;
            seen.openProblem = std::move(result.problem);
            continue;
        }
        seen.opens = true;
        seen.outputReportLength = result.device->outputReportLength();
        if (mayBeChosen) {
            kept = std::move(result.device);
        }
    }
    JudgeInterfaces(report.seen);
    report.note = NoteFor(report.seen);
    for (std::size_t i = 0; i < opened.size(); ++i) {
        if (report.seen[i].verdict == InterfaceVerdict::Chosen) {
            return std::move(opened[i]);
        }
    }
    return nullptr; // the others close here
}

} // namespace treadkey
