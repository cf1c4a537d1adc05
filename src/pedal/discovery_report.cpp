#include "pedal/discovery_report.h"

#include <algorithm>

namespace treadkey {

DiscoveryNote NoteFor(const std::vector<SeenInterface>& seen) {
    if (seen.empty()) {
        return DiscoveryNote::None;
    }
    const auto chosen = std::find_if(seen.begin(), seen.end(), [](const SeenInterface& s) {
        return s.verdict == InterfaceVerdict::Chosen;
    });
    if (chosen != seen.end()) {
        const bool shortReport =
            chosen->outputReportLength && *chosen->outputReportLength < kFrameReportLength;
        return shortReport ? DiscoveryNote::ShortOutputReport : DiscoveryNote::None;
    }
    const bool allHeld = std::all_of(seen.begin(), seen.end(), [](const SeenInterface& s) {
        return s.verdict == InterfaceVerdict::HeldBySystem;
    });
    return allHeld ? DiscoveryNote::NoConfigurationInterface : DiscoveryNote::NoneOpens;
}

} // namespace treadkey
