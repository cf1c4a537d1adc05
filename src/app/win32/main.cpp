#include "app/form/window_program.h"
#include "app/form/window_wording.h"
#include "app/win32/wide_text.h"
#include "app/win32/win32_window.h"
#include "record/state_file.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The command line as the window program reads it: UTF-8, without the program's own name.
std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(treadkey::Utf8OfWide(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

// A window program started from a console has no streams of its own: --help, --version and usage errors
// go to the console it was started from. Streams it was given (redirected, or by Wine) are kept.
void UseParentConsole() {
    if (GetStdHandle(STD_ERROR_HANDLE) == nullptr && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
}

int RunWindow(HINSTANCE instance) {
    return treadkey::StartWindowProgram(
        Arguments(), std::cout, std::cerr, [instance](const treadkey::WindowStart& start) {
            // No toolkit takes options of its own here.
            if (!start.toolkitArguments.empty()) {
                return treadkey::WindowUsageError(std::cerr,
                                                  treadkey::UnknownArgument(start.toolkitArguments.front()));
            }
            const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                                ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
            InitCommonControlsEx(&controls);
            const std::unique_ptr<treadkey::HidBackend> backend = treadkey::MakeBackend(start.options);
            treadkey::WindowServices services;
            services.stateDirectory = [] {
                return treadkey::StateDirectory([](const char* name) { return std::getenv(name); });
            };
            treadkey::Win32Window window(*backend, services, instance);
            window.Form().ChoosePedal(start.options.pedal);
            treadkey::UseTestFiles(window.Form(), start);
            window.Form().Form_Load();
            return window.RunMessageLoop();
        });
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    UseParentConsole();
    try {
        return RunWindow(instance);
    } catch (const std::exception& error) {
        // The last resort: a failure nothing foresaw is still one line, not an abort.
        std::cerr << treadkey::kWindowProgram << ": " << error.what() << "\n";
        return 1;
    }
}
