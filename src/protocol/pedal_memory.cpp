#include "protocol/pedal_memory.h"

#include <algorithm>
#include <cstddef>

namespace treadkey {
namespace {

bool IsWordAddress(int address) {
    return address >= 0 && address <= kLastAddress && address % kWordSize == 0;
}

std::optional<WordWriter> WriterOf(std::uint8_t command) {
    switch (command) {
    case kKeyCommand:
        return WordWriter::KeyCommand;
    case kMouseCommand:
        return WordWriter::MouseCommand;
    default:
        return std::nullopt;
    }
}

} // namespace

bool PedalMemory::decode(std::span<const std::uint8_t> report) {
    const bool framed = report.size() >= static_cast<std::size_t>(kFrameReportLength) && report[0] == 0 &&
                        report[1] == kLeadByte;
    const std::optional<WordWriter> writer = framed ? WriterOf(report[2]) : std::nullopt;
    if (!writer || !IsWordAddress(report[3])) {
        ++ignoredFrames_;
        return false;
    }
    MemoryWord& word = words_[report[3] / kWordSize];
    std::copy_n(report.begin() + 4, kWordSize, word.data.begin());
    word.writer = *writer;
    return true;
}

std::optional<MemoryWord> PedalMemory::wordAt(int address) const {
    if (!IsWordAddress(address)) {
        return std::nullopt;
    }
    return words_[static_cast<std::size_t>(address / kWordSize)];
}

std::optional<MemoryWord> PedalMemory::slot(int number) const {
    if (number < 1 || number > kSlotCount) {
        return std::nullopt;
    }
    return wordAt((number - 1) * kWordSize);
}

std::optional<PlaybackWord> PedalMemory::playbackWord() const {
    const MemoryWord& word = words_[kPlaybackAddress / kWordSize];
    const auto [autoRun, loop, high, low] = word.data;
    if (word.writer != WordWriter::KeyCommand || (autoRun != kAutoRunOn && autoRun != 0) ||
        (loop != kLoopPlayback && loop != 0)) {
        return std::nullopt;
    }
    return PlaybackWord{autoRun == kAutoRunOn, loop == kLoopPlayback,
                        static_cast<std::uint16_t>(high << 8 | low)};
}

} // namespace treadkey
