#include "device/discovery_words.h"

#include "protocol/frame_layout.h"

#include <cstdio>

namespace treadkey {

std::string_view CollectionKindName(CollectionKind kind) {
    switch (kind) {
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

std::string UsageNumbers(HidCollection collection) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X:%04X", collection.usagePage, collection.usage);
    return text;
}

std::string CannotHoldFrameReason(const SeenInterface& seen) {
    if (!seen.outputReportLength) {
        return "its output report length is unknown";
    }
    return "its output report of " + std::to_string(*seen.outputReportLength) + " bytes cannot hold a frame";
}

std::string CutsFramesReason(int outputReportLength) {
    return "its output report of " + std::to_string(outputReportLength) +
           " bytes cannot hold a whole frame (" + std::to_string(kFrameReportLength) + " bytes)";
}

std::string_view NoteHeadline(DiscoveryNote note) {
    switch (note) {
    case DiscoveryNote::NoConfigurationInterface:
        return "no configuration interface of the pedal";
    case DiscoveryNote::NoneOpens:
        return "the pedal cannot be opened";
    case DiscoveryNote::ShortOutputReport:
        return "this may not be the pedal's configuration interface";
    case DiscoveryNote::None:
        break;
    }
    return "";
}

} // namespace treadkey
