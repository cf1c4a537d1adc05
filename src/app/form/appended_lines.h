#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace treadkey {

// The whole lines appended to a file since the last call, the first call counting from what the file held
// when this was made. A file that shrank is read again from its start; a missing one gives no lines.
class AppendedLines {
public:
    explicit AppendedLines(std::filesystem::path path);
    std::vector<std::string> Take();

private:
    std::filesystem::path path_;
    std::uintmax_t consumed_ = 0;
};

} // namespace treadkey
