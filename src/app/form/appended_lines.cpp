#include "app/form/appended_lines.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace treadkey {
namespace {

std::uintmax_t SizeOf(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

} // namespace

AppendedLines::AppendedLines(std::filesystem::path path) : path_(std::move(path)), consumed_(SizeOf(path_)) {}

std::vector<std::string> AppendedLines::Take() {
    if (SizeOf(path_) < consumed_) {
        consumed_ = 0;
    }
    std::ifstream in(path_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(consumed_));
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // A line still being written is left for the next call.
    const std::size_t end = text.rfind('\n');
    if (end == std::string::npos) {
        return {};
    }
    consumed_ += end + 1;
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= end;) {
        const std::size_t stop = text.find('\n', start);
        std::string line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = stop + 1;
    }
    return lines;
}

} // namespace treadkey
