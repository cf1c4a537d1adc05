#pragma once

#include <array>
#include <cstdio>
#include <streambuf>

namespace treadkey {

// A C stream (standard input) as a stream buffer that throws std::system_error with the system's reason when
// a read fails, where std::cin would show an early end: 'apply - < folder' then says "Is a directory"
// instead of calling the profile empty.
class FileInputBuffer : public std::streambuf {
public:
    explicit FileInputBuffer(std::FILE* file) : file_(file) {}

protected:
    int_type underflow() override;

private:
    std::FILE* file_;
    std::array<char, 64 * 1024> buffer_{};
};

} // namespace treadkey
