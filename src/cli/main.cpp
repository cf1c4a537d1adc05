#include "cli/pedal_names.h"
#include "cli/run.h"
#include "stack_choice/backend_options.h"

#include <cstdlib>
#include <iostream>
#include <thread>

int main(int argc, char** argv) {
    treadkey::CliServices services{
        std::cout, std::cerr, treadkey::MakeBackend,
        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }};
    services.pedalNamesFile = treadkey::PedalNamesFile([](const char* name) { return std::getenv(name); });
    return treadkey::RunTreadkeyctl(std::vector<std::string>(argv + 1, argv + argc), services);
}
