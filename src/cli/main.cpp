#include "cli/run.h"
#include "stack_choice/backend_options.h"

#include <iostream>
#include <thread>

int main(int argc, char** argv) {
    treadkey::CliServices services{
        std::cout, std::cerr, treadkey::MakeBackend,
        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }};
    return treadkey::RunTreadkeyctl(std::vector<std::string>(argv + 1, argv + argc), services);
}
