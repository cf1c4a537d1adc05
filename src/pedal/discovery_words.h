#pragma once

#include "hid/collection_kind.h"
#include "pedal/discovery_report.h"

#include <string>
#include <string_view>

namespace treadkey {

// The words for what discovery saw, shared by treadkeyctl and the window; each wording puts them in its own
// sentences. Those the window also says in Chinese take `chinese`.

// "keyboard", "touch screen", ..., "other usage".
std::string_view CollectionKindName(CollectionKind kind, bool chinese = false);

// "1 byte", "8 bytes".
std::string ByteCount(int count);

// Why an interface that opens cannot be counted on to take a frame: "its output report of 8 bytes cannot
// hold a frame", or "its output report length is unknown".
std::string CannotHoldFrameReason(const SeenInterface& seen);

// Why a chosen interface cuts every frame: "its output report of 8 bytes cannot hold a whole frame (65
// bytes)".
std::string CutsFramesReason(int outputReportLength);

// What a note says, without its details: "no configuration interface of the pedal", "the pedal cannot be
// opened", "this may not be the pedal's configuration interface"; empty for none.
std::string_view NoteHeadline(DiscoveryNote note, bool chinese = false);

} // namespace treadkey
