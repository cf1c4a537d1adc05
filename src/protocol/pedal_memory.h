#pragma once

#include "protocol/frame_layout.h"
#include "protocol/playback_word.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace treadkey {

// Which command last wrote a memory word.
enum class WordWriter : std::uint8_t {
    None,        // never written since power-up
    KeyCommand,  // command 0x01: a keyboard entry or a settings word
    MouseCommand // command 0x02: a mouse-button entry
};

struct MemoryWord {
    std::array<std::uint8_t, kWordSize> data{};
    WordWriter writer = WordWriter::None;

    bool operator==(const MemoryWord&) const = default;
};

// The pedal's configuration memory as the device sees it: 32 words of four bytes at the addresses 0x00, 0x04,
// ... 0x7C, changed only by command frames. A fresh memory holds 00 bytes written by no one, so that a word a
// clear frame set to FF FF FF FF stays distinguishable from one never touched.
class PedalMemory {
public:
    // Applies one output report: report id 0, then lead 0xAA, command, address, four data bytes; bytes past
    // those are padding. Returns whether the frame was applied; anything else changes nothing and counts as
    // ignored.
    bool decode(std::span<const std::uint8_t> report);

    // The word at an address; nothing when the address is not a word address.
    std::optional<MemoryWord> wordAt(int address) const;
    // The word of slot 1..12 (slot n lives at address (n-1)*4); nothing for other numbers.
    std::optional<MemoryWord> slot(int number) const;
    // Word 0x7C read as its frames write it: nothing while no frame has written it, or when its first two
    // bytes are not an auto-run byte (79 or 00) and a playback byte (01 or 00), as after a clear.
    std::optional<PlaybackWord> playbackWord() const;

    int ignoredFrameCount() const { return ignoredFrames_; }

private:
    std::array<MemoryWord, kWordCount> words_{};
    int ignoredFrames_ = 0;
};

} // namespace treadkey
