#include "cli/interface_wording.h"

#include "device/collection_kind.h"

#include <cstdio>

namespace treadkey {
namespace {

std::string UsageNumbers(HidCollection collection) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X:%04X", collection.usagePage, collection.usage);
    return text;
}

} // namespace

std::string CollectionName(HidCollection collection) {
    switch (CollectionKindOf(collection)) {
    case CollectionKind::Pointer:
        return "pointer";
    case CollectionKind::Mouse:
        return "mouse";
    case CollectionKind::Keyboard:
        return "keyboard";
    case CollectionKind::Keypad:
        return "keypad";
    case CollectionKind::Digitizer:
        return "digitizer";
    case CollectionKind::Pen:
        return "pen";
    case CollectionKind::TouchScreen:
        return "touch screen";
    case CollectionKind::TouchPad:
        return "touch pad";
    case CollectionKind::Joystick:
        return "joystick";
    case CollectionKind::GamePad:
        return "game pad";
    case CollectionKind::SystemControl:
        return "system control";
    case CollectionKind::ConsumerControl:
        return "consumer control";
    case CollectionKind::VendorDefined:
        return "vendor-defined";
    case CollectionKind::Other:
        break;
    }
    return "other usage";
}

std::string DescribeCollections(const HidInterface& interface) {
    if (interface.collections.empty()) {
        return "collections unknown";
    }
    std::string text;
    for (const HidCollection& collection : interface.collections) {
        text +=
            (text.empty() ? "" : ", ") + CollectionName(collection) + " (" + UsageNumbers(collection) + ")";
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
        return (seen.outputReportLength
                    ? "not used: its output report of " + std::to_string(*seen.outputReportLength) +
                          " bytes cannot hold a frame"
                    : std::string("not used: its output report length is unknown")) +
               "; the frames go to " + framesGoTo;
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
    return "its output report of " + std::to_string(*seen.outputReportLength) +
           " bytes cannot hold a whole " + "frame (" + std::to_string(kFrameReportLength) +
           " bytes): this may not be the pedal's configuration interface";
}

std::string DescribeNoInterfaceTaken(const DiscoveryReport& report) {
    std::string text = report.note == DiscoveryNote::NoConfigurationInterface
                           ? "no configuration interface of the pedal"
                           : "the pedal cannot be opened";
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
