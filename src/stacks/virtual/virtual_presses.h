#pragma once

#include "protocol/pedal_memory.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace treadkey {

// What the virtual pedal sends when a slot is pressed: the boot-layout input reports of its keyboard (a key
// slot) or its mouse (a mouse slot), the press and then the release. Nothing for a slot that holds neither,
// such as a cleared one.
struct SlotPress {
    bool mouse = false;
    std::vector<std::vector<std::uint8_t>> reports;
};
std::optional<SlotPress> PressOfSlot(const MemoryWord& word);

// The memory the configuration reports in a virtual pedal log built, line by line; lines logged under another
// interface's path and lines that are not hex bytes change nothing. A missing file gives a fresh memory.
PedalMemory MemoryFromLog(const std::filesystem::path& log);

// The slot numbers appended to a file as whole lines since the last call, the first call counting from what
// the file held when this was made (presses of an earlier run are not played again). A file that shrank is
// read again from its start; a line that is not a slot number 1..12 is skipped.
class PressFile {
public:
    explicit PressFile(std::filesystem::path path);
    std::vector<int> TakeSlots();

private:
    std::filesystem::path path_;
    std::uintmax_t consumed_ = 0;
};

} // namespace treadkey
