#include "stacks/virtual/append_line.h"

#include <fstream>

namespace treadkey {

// The stream opens the file with O_APPEND: the system puts each write at the end as one.
bool AppendLine(const std::filesystem::path& file, const std::string& line) {
    std::ofstream stream(file, std::ios::binary | std::ios::app);
    if (!stream) {
        return false;
    }
    stream.write(line.data(), static_cast<std::streamsize>(line.size()));
    stream.close();
    return !stream.fail();
}

} // namespace treadkey
