#include "record/pedal_record.h"

namespace treadkey {
namespace {

// The address a report's frame aims at, whether or not its command is one the pedal knows.
std::optional<int> AddressOf(std::span<const std::uint8_t> report) {
    if (report.size() < static_cast<std::size_t>(kFrameReportLength) || report[0] != 0 ||
        report[1] != kLeadByte) {
        return std::nullopt;
    }
    return report[3];
}

// The recorded word at a memory address, or nothing for an address the record does not keep.
RecordedWord* RecordedWordAt(PedalRecord& record, int address) {
    if (address == kSingleOutputAddress) {
        return &record.singleOutput;
    }
    if (address == kPlaybackAddress) {
        return &record.playback;
    }
    if (address >= 0 && address % kWordSize == 0 && address / kWordSize < kSlotCount) {
        return &record.slotWords[static_cast<std::size_t>(address / kWordSize)];
    }
    return nullptr;
}

} // namespace

bool IsClearedWord(const MemoryWord& word) {
    return word.data ==
           std::array<std::uint8_t, kWordSize>{kClearedByte, kClearedByte, kClearedByte, kClearedByte};
}

void RecordWrite(PedalRecord& record, std::span<const std::vector<std::uint8_t>> reports,
                 std::size_t wentThrough, const WriteStamp& stamp) {
    const bool whole = wentThrough >= reports.size();
    const std::string interrupted =
        "interrupted after report " + std::to_string(wentThrough) + " of " + std::to_string(reports.size());
    for (const std::vector<std::uint8_t>& report : reports) {
        const std::optional<int> address = AddressOf(report);
        RecordedWord* recorded = address ? RecordedWordAt(record, *address) : nullptr;
        if (recorded == nullptr) {
            continue; // not a frame, or a word the record does not keep
        }
        PedalMemory memory;
        if (whole && memory.decode(report)) {
            *recorded = {WordSource::Written, *memory.wordAt(*address), stamp.when, stamp.program, ""};
        } else {
            *recorded = {WordSource::Unknown,
                         {},
                         stamp.when,
                         stamp.program,
                         whole
                             ? "a frame of command " + std::to_string(report[2]) + " the record cannot decode"
                             : interrupted};
        }
    }
}

} // namespace treadkey
