#pragma once

#include "record/record_file.h"

#include <filesystem>
#include <string>

namespace treadkey::testing {

// Records, as treadkeyctl would, that slot 3 of the fake pedal ("usb-1-1") holds A; the error, or "".
inline std::string RecordSlot3HoldsA(const std::filesystem::path& stateDirectory) {
    return UpdatePedalRecord(
               PedalRecordFile(stateDirectory, "usb-1-1"), "usb-1-1",
               [](PedalRecord& record) {
                   record.slotWords[2] = {WordSource::Written,
                                          {{0x00, 0x04, 0, 0}, WordWriter::KeyCommand},
                                          "2026-03-01T12:00:00Z",
                                          "treadkeyctl",
                                          ""};
               },
               "t")
        .error;
}

} // namespace treadkey::testing
