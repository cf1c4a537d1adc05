#include "device/interface_survey.h"

#include "device/interface_choice.h"

#include <utility>

namespace treadkey {

DiscoveryReport SurveyInterfaces(HidBackend& backend, std::uint16_t vendorId, std::uint16_t productId) {
    DiscoveryReport report;
    for (HidInterface& candidate : backend.enumerate(vendorId, productId)) {
        if (candidate.vendorId != vendorId || candidate.productId != productId) {
            continue;
        }
        SeenInterface& seen = report.seen.emplace_back();
        seen.interface = std::move(candidate);
        seen.tried = true;
        OpenResult opened = backend.open(seen.interface.path);
        seen.opens = opened.device != nullptr;
        if (opened.device) {
            seen.outputReportLength = opened.device->outputReportLength();
        } else {
            seen.openFailure = opened.failure;
            seen.openProblem = std::move(opened.problem);
        }
    }
    JudgeInterfaces(report.seen);
    report.note = NoteFor(report.seen);
    return report;
}

} // namespace treadkey
