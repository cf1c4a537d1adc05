#include "cli/interface_wording.h"

#include "pedal/discovery_words.h"

#include <array>

namespace treadkey {
namespace {

// Each verdict's name in list's JSON and its sentence, in the verdicts' order; a short report's sentence
// names the reason and where the frames go instead.
struct VerdictWords {
    std::string_view name;
    std::string_view sentence;
};
constexpr std::array<VerdictWords, 5> kVerdictWords = {{
    {"chosen", "the pedal's frames go here"},
    {"held by the system",
     "passed over: the system keeps keyboard, mouse, pen and touch interfaces to itself"},
    {"cannot be opened", "not used: it cannot be opened"},
    {"report too short", ""},
    {"not chosen", "not used: an earlier interface takes the frames"},
}};

} // namespace

std::string DescribeCollections(const HidInterface& interface) {
    if (interface.collections.empty()) {
        return "collections unknown";
    }
    std::string text;
    for (const HidCollection& collection : interface.collections) {
        text += (text.empty() ? "" : ", ") + std::string(CollectionKindName(CollectionKindOf(collection))) +
                " (" + UsageHex(collection) + ")";
    }
    return text;
}

std::string_view VerdictName(InterfaceVerdict verdict) {
    return kVerdictWords[static_cast<std::size_t>(verdict)].name;
}

std::string DescribeVerdict(const SeenInterface& seen, const std::string& framesGoTo) {
    if (seen.verdict == InterfaceVerdict::CannotHoldFrame) {
        return "not used: " + CannotHoldFrameReason(seen) + "; the frames go to " + framesGoTo;
    }
    return std::string(kVerdictWords[static_cast<std::size_t>(seen.verdict)].sentence);
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
