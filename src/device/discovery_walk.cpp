#include "device/discovery_walk.h"

#include "device/collection_kind.h"
#include "device/interface_choice.h"

#include <utility>
#include <vector>

namespace treadkey {

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
        const bool mayBeChosen = !ChoiceIsSettled(report.seen) && !IsPassedOver(candidate);
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
