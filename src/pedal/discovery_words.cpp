#include "pedal/discovery_words.h"

#include "protocol/frame_layout.h"

#include <array>
#include <cstdio>

namespace treadkey {

std::string_view CollectionKindName(CollectionKind kind) {
    // In the order of CollectionKind.
    static constexpr std::array<std::string_view, 14> kNames = {
        "pointer",        "mouse",      "keyboard", "keypad",   "digitizer",      "pen",
        "touch screen",   "touch pad",  "joystick", "game pad", "system control", "consumer control",
        "vendor-defined", "other usage"};
    static_assert(kNames.size() == static_cast<std::size_t>(CollectionKind::Other) + 1);
    return kNames[static_cast<std::size_t>(kind)];
}

std::string ByteCount(int count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

std::string UsageNumbers(HidCollection collection) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X:%04X", collection.page, collection.usage);
    return text;
}

std::string CannotHoldFrameReason(const SeenInterface& seen) {
    if (!seen.outputReportLength) {
        return "its output report length is unknown";
    }
    return "its output report of " + ByteCount(*seen.outputReportLength) + " cannot hold a frame";
}

std::string CutsFramesReason(int outputReportLength) {
    return "its output report of " + ByteCount(outputReportLength) + " cannot hold a whole frame (" +
           ByteCount(kFrameReportLength) + ")";
}

std::string_view NoteHeadline(DiscoveryNote note) {
    // In the order of DiscoveryNote.
    static constexpr std::array<std::string_view, 4> kHeadlines = {
        "", "no configuration interface of the pedal", "the pedal cannot be opened",
        "this may not be the pedal's configuration interface"};
    static_assert(kHeadlines.size() == static_cast<std::size_t>(DiscoveryNote::ShortOutputReport) + 1);
    return kHeadlines[static_cast<std::size_t>(note)];
}

} // namespace treadkey
