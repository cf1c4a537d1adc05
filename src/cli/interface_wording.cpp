#include "cli/interface_wording.h"

#include "pedal/discovery_words.h"

namespace treadkey {

std::string DescribeCollections(const HidInterface& interface) {
    if (interface.collections.empty()) {
        return "collections unknown";
    }
    std::string text;
    for (const HidCollection& collection : interface.collections) {
        text += (text.empty() ? "" : ", ") + std::string(CollectionKindName(CollectionKindOf(collection))) +
                " (" + UsageNumbers(collection) + ")";
    }
    return text;
}

std::string DescribeVerdict(const SeenInterface& seen, const std::string& framesGoTo) {
    switch (seen.verdict) {
    case InterfaceVerdict::Chosen:
        return "the pedal's frames go here";
    case InterfaceVerdict::HeldBySystem:
        return "passed over: the system keeps keyboard, mouse, pen and touch interfaces to itself";
    case InterfaceVerdict::DoesNotOpen:
        return "not used: it cannot be opened";
    case InterfaceVerdict::CannotHoldFrame:
        return "not used: " + CannotHoldFrameReason(seen) + "; the frames go to " + framesGoTo;
    case InterfaceVerdict::NotChosen:
        break;
    }
    return "not used: an earlier interface takes the frames";
}

std::string ShortReportWarning(const SeenInterface& seen) {
    if (seen.verdict != InterfaceVerdict::Chosen || !seen.outputReportLength ||
        *seen.outputReportLength >= kFrameReportLength) {
        return {};
    }
    return CutsFramesReason(*seen.outputReportLength) + ": " +
           std::string(NoteHeadline(DiscoveryNote::ShortOutputReport));
}

std::string DescribeNoInterfaceTaken(const DiscoveryReport& report) {
    std::string text(NoteHeadline(report.note));
    for (std::size_t i = 0; i < report.seen.size(); ++i) {
        const SeenInterface& seen = report.seen[i];
        text += i == 0 ? ": " : "; ";
        if (seen.verdict == InterfaceVerdict::HeldBySystem) {
            text += seen.interface.path + " (" + DescribeCollections(seen.interface) +
                    ") is passed over, held by the system";
        } else {
            // The HID stack's words name the path already.
            text += seen.openProblem;
            if (!seen.interface.collections.empty()) {
                text += " (" + DescribeCollections(seen.interface) + ")";
            }
        }
    }
    return text;
}

} // namespace treadkey
