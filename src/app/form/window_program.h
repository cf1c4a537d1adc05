#pragma once

#include "app/form/usb_form.h"
#include "stack_choice/backend_options.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace treadkey {

// What the window is opened with: the pedal options, the files tests drive and read the window through,
// and the arguments left for the toolkit.
struct WindowStart {
    BackendOptions options;
    std::optional<std::filesystem::path> resultLog;
    std::optional<std::filesystem::path> clickFile;
    std::vector<std::string> toolkitArguments;
};

// The window program's start, the same whatever draws the window: reads the pedal options and --help and
// --version, checks the virtual pedal's files before anything opens, and opens the window through `open`,
// whose exit code it returns. Help and the version go to out, errors to err with exit code 2.
int StartWindowProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                       const std::function<int(const WindowStart&)>& open);

// Hands the window the files a test drives and reads it through, those that were given.
void UseTestFiles(USB& form, const WindowStart& start);

// A usage error: one line and the pointer to --help, exit code 2.
int WindowUsageError(std::ostream& err, const std::string& message);
// The usage error of an argument neither the program nor its toolkit knows, the argument shown safely.
std::string UnknownArgument(const std::string& argument);

} // namespace treadkey
