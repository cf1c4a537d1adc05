#include "fuzz/fuzz_check.h"
#include "protocol/pedal_memory.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Input: a sequence of reports, each a length byte followed by that many bytes (the last one cut short by the
// end of the input). Every report is decoded into one memory, and each decode is checked against an
// independent judgement of the frame.

namespace {

using treadkey::kWordCount;
using treadkey::MemoryWord;
using treadkey::PedalMemory;
using treadkey::WordWriter;
using treadkey::fuzz::Require;

struct Snapshot {
    std::array<MemoryWord, kWordCount> words;
    int ignored = 0;
};

Snapshot Take(const PedalMemory& memory) {
    Snapshot snapshot;
    for (int i = 0; i < kWordCount; ++i) {
        const std::optional<MemoryWord> word = memory.wordAt(i * 4);
        Require(word.has_value(), "every word address holds a word");
        snapshot.words[static_cast<std::size_t>(i)] = *word;
    }
    snapshot.ignored = memory.ignoredFrameCount();
    return snapshot;
}

// Report id 0, lead AA, command 01 (key) or 02 (mouse), a word address 00..7C, four data bytes.
std::optional<WordWriter> JudgeFrame(std::span<const std::uint8_t> r) {
    if (r.size() < 8 || r[0] != 0x00 || r[1] != 0xAA || r[3] > 0x7C || r[3] % 4 != 0) {
        return std::nullopt;
    }
    if (r[2] == 0x01) {
        return WordWriter::KeyCommand;
    }
    if (r[2] == 0x02) {
        return WordWriter::MouseCommand;
    }
    return std::nullopt;
}

void CheckLookups(const PedalMemory& memory) {
    for (int address = -1; address <= 0x80; ++address) {
        const bool wordAddress = address >= 0 && address <= 0x7C && address % 4 == 0;
        Require(memory.wordAt(address).has_value() == wordAddress, "only word addresses hold words");
    }
    for (int slot = 0; slot <= 13; ++slot) {
        const std::optional<MemoryWord> word = memory.slot(slot);
        Require(word.has_value() == (slot >= 1 && slot <= 12), "only slots 1 to 12 exist");
        if (word) {
            Require(*word == *memory.wordAt((slot - 1) * 4), "slot n is the word at (n-1)*4");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PedalMemory memory;
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t wanted = data[pos++];
        const std::size_t length = std::min(wanted, size - pos);
        // An exactly sized copy, so that a read past the report is caught.
        const std::vector<std::uint8_t> report(data + pos, data + pos + length);
        pos += length;

        const Snapshot before = Take(memory);
        const bool applied = memory.decode(report);
        const Snapshot after = Take(memory);
        const std::optional<WordWriter> writer = JudgeFrame(report);
        Require(applied == writer.has_value(), "exactly the well-formed frames are applied");
        if (!writer) {
            Require(after.words == before.words, "a bad frame changes no memory");
            Require(after.ignored == before.ignored + 1, "a bad frame counts as ignored");
            continue;
        }
        Require(after.ignored == before.ignored, "a good frame is not counted as ignored");
        const std::size_t target = report[3] / 4;
        for (std::size_t i = 0; i < after.words.size(); ++i) {
            if (i != target) {
                Require(after.words[i] == before.words[i], "a frame changes only its own word");
            }
        }
        const MemoryWord& word = after.words[target];
        Require(std::equal(word.data.begin(), word.data.end(), report.begin() + 4),
                "the word holds bytes 4..7");
        Require(word.writer == *writer, "the word records its command");
    }
    CheckLookups(memory);
    return 0;
}
