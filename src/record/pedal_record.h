#pragma once

#include "protocol/frame_layout.h"
#include "protocol/pedal_memory.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// Where a recorded word's value came from.
enum class WordSource : std::uint8_t {
    Unknown,    // never written from this computer, or a write that did not finish
    Written,    // a write whose reports all went through
    SeenByPress // learned or confirmed from what the pedal sent when pressed
};
// Each source as the record file and show's JSON name it.
inline constexpr std::array<std::string_view, 3> kWordSourceNames = {"unknown", "written", "seen"};

struct RecordedWord {
    WordSource source = WordSource::Unknown;
    MemoryWord word;     // the four bytes and the command that wrote them; meaningful unless Unknown
    std::string when;    // UTC, as 2026-03-01T12:00:00Z
    std::string program; // who wrote it: treadkeyctl or treadkey-setup
    std::string note;    // why it is unknown, when a write left it so

    bool operator==(const RecordedWord&) const = default;
};

// What one pedal holds, as far as this computer wrote or saw it: the twelve slots and the two settings words
// (single output at 0x78; playback, auto-run and the key delay at 0x7C).
struct PedalRecord {
    std::array<RecordedWord, kSlotCount> slotWords;
    RecordedWord singleOutput;
    RecordedWord playback;

    bool operator==(const PedalRecord&) const = default;
};

// When and by what a write was made.
struct WriteStamp {
    std::string when;
    std::string program;
};

// Changes the record for one action's output reports, of which the first `wentThrough` went through. When
// all did, every word they wrote takes its new value as the pedal memory decodes it, and a frame the memory
// cannot decode makes its word unknown; when one failed, every word the action touched becomes unknown
// ("interrupted after report k of n"), never the new value.
void RecordWrite(PedalRecord& record, std::span<const std::vector<std::uint8_t>> reports,
                 std::size_t wentThrough, const WriteStamp& stamp);

// Whether a word holds what a clear frame writes.
bool IsClearedWord(const MemoryWord& word);

} // namespace treadkey
