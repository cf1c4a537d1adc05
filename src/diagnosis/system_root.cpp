#include "diagnosis/system_root.h"

#include <fstream>
#include <sstream>

namespace treadkey {

std::filesystem::path SystemRoot::under(const std::filesystem::path& absolute) const {
    return root / absolute.relative_path();
}

std::string ReadSmallFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace treadkey
