#include "cli/pedal_names.h"
#include "cli/run.h"
#include "record/state_file.h"
#include "stack_choice/backend_options.h"

#include <cstdlib>
#include <iostream>
#include <thread>

int main(int argc, char** argv) {
    treadkey::CliServices services{
        std::cout, std::cerr, treadkey::MakeBackend,
        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }};
    const auto environment = [](const char* name) { return std::getenv(name); };
    services.pedalNamesFile = treadkey::PedalNamesFile(environment);
    services.stateDirectory = treadkey::StateDirectory(environment);
    return treadkey::RunTreadkeyctl(std::vector<std::string>(argv + 1, argv + argc), services);
}
