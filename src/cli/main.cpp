#include "cli/run.h"
#include "record/pedal_names.h"
#include "record/state_file.h"
#include "stack_choice/backend_options.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <streambuf>
#include <system_error>
#include <thread>

namespace {

// A C stream (standard input) as a stream buffer that throws std::system_error with the system's reason when
// a read fails, where std::cin would show an early end: 'apply - < folder' then says "Is a directory"
// instead of calling the profile empty.
class FileInputBuffer : public std::streambuf {
public:
    explicit FileInputBuffer(std::FILE* file) : file_(file) {}

protected:
    int_type underflow() override {
        const std::size_t count = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        if (count == 0) {
            if (std::ferror(file_) != 0) {
                throw std::system_error(errno, std::generic_category());
            }
            return traits_type::eof();
        }
        setg(buffer_.data(), buffer_.data(), buffer_.data() + count);
        return traits_type::to_int_type(buffer_[0]);
    }

private:
    std::FILE* file_;
    std::array<char, 64 * 1024> buffer_{};
};

} // namespace

int main(int argc, char** argv) {
    try {
        FileInputBuffer inputBuffer(stdin);
        std::istream input(&inputBuffer);
        treadkey::CliServices services{
            std::cout, std::cerr, treadkey::MakeBackend,
            [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }};
        services.in = &input;
        const auto environment = [](const char* name) { return std::getenv(name); };
        services.pedalNamesFile = treadkey::PedalNamesFile(environment);
        services.stateDirectory = treadkey::StateDirectory(environment);
        return treadkey::RunTreadkeyctl(std::vector<std::string>(argv + 1, argv + argc), services);
    } catch (const std::exception& error) {
        // The last resort: a failure no command foresaw (out of memory, say) is still one line, not an abort.
        std::cerr << "treadkeyctl: " << error.what() << '\n';
        return 1;
    }
}
