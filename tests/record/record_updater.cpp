// Updates a pedal record COUNT times, as a program that writes the pedal would, and says "done N" on standard
// output after the Nth update was stored. Each update adds one to a counter kept in the first byte pairs of
// slots FIRST..LAST (the same in each), so that a reader can tell a whole record from a mixed one.
// Usage: record_updater FILE FIRST LAST COUNT (slots counted from 0).
#include "record/record_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

unsigned Counter(const treadkey::RecordedWord& word) {
    return word.word.data[0] | (word.word.data[1] << 8u);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: record_updater FILE FIRST LAST COUNT\n");
        return 2;
    }
    const std::size_t first = std::stoul(argv[2]);
    const std::size_t last = std::stoul(argv[3]);
    const int count = std::stoi(argv[4]);
    for (int n = 1; n <= count; ++n) {
        const treadkey::LoadedRecord loaded = treadkey::UpdatePedalRecord(
            argv[1], "p",
            [first, last](treadkey::PedalRecord& record) {
                const unsigned next = Counter(record.slotWords[first]) + 1;
                for (std::size_t slot = first; slot <= last; ++slot) {
                    treadkey::RecordedWord& word = record.slotWords[slot];
                    word.source = treadkey::WordSource::Written;
                    word.word.data[0] = static_cast<std::uint8_t>(next & 0xFF);
                    word.word.data[1] = static_cast<std::uint8_t>(next >> 8);
                }
            },
            "t");
        if (!loaded.error.empty() || !loaded.warning.empty()) {
            std::fprintf(stderr, "record_updater: %s%s\n", loaded.error.c_str(), loaded.warning.c_str());
            return 1;
        }
        std::printf("done %d\n", n);
        std::fflush(stdout);
    }
    return 0;
}
