#include "cli/file_input_buffer.h"
#include "cli/run.h"
#include "record/pedal_names.h"
#include "record/state_file.h"
#include "stack_choice/backend_options.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <thread>

int main(int argc, char** argv) {
    try {
        treadkey::FileInputBuffer inputBuffer(stdin);
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
