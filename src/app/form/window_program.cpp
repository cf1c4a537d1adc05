#include "app/form/window_program.h"

#include "app/form/window_wording.h"
#include "arguments/option_table.h"
#include "arguments/shown_text.h"
#include "arguments/utf8_path.h"
#include "stack_choice/virtual_pedal_files.h"

#include <array>

namespace treadkey {
namespace {

constexpr std::string_view kHelpOption = "--help";
constexpr std::string_view kResultLogOption = "--result-log";
// For tests that drive the window from outside, as a user cannot: the same on every toolkit.
constexpr std::array<OptionSpec, 2> kTestOptions = {{
    {kResultLogOption, "FILE", "append each line the window adds to its result list to FILE"},
    {"--click-file", "FILE",
     "click the control named by each line appended to FILE, hidden or\nnot, as the control reports a click"},
}};
constexpr std::array<OptionSpec, 2> kHelpOptions = {{
    {.name = kHelpOption, .help = "show this help and exit", .alias = "-h"},
    {.name = "--version", .help = "show the version and exit", .alias = "-V"},
}};

} // namespace

std::string UnknownArgument(const std::string& argument) {
    return "unknown argument '" + ShownText(argument) + "'";
}

void UseTestFiles(USB& form, const WindowStart& start) {
    if (start.resultLog) {
        form.CopyResultLinesTo(*start.resultLog);
    }
    if (start.clickFile) {
        form.TakeClicksFrom(*start.clickFile);
    }
}

int WindowUsageError(std::ostream& err, const std::string& message) {
    err << kWindowProgram << ": " << message << "\nTry '" << kWindowProgram
        << " --help' for more information.\n";
    return 2;
}

int StartWindowProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                       const std::function<int(const WindowStart&)>& open) {
    const ParsedBackendOptions parsed = ParseBackendOptions(arguments);
    if (!parsed.error.empty()) {
        return WindowUsageError(err, parsed.error);
    }
    // What is left belongs to the toolkit (single-dash options such as -platform xcb) or is an error, found
    // before any window opens. The first of --help and --version wins, and nothing after it is looked at.
    std::string_view asked;
    WindowStart start;
    start.options = parsed.options;
    ArgumentRules rules{
        {kHelpOptions, kTestOptions},
        ArgumentRules::EndOfOptions::NotSpecial,
        [&asked, &start](const OptionUse& use) {
            if (use.option->valueName.empty()) {
                asked = asked.empty() ? use.option->name : asked;
                return std::string();
            }
            if (use.value.value_or("").empty()) {
                return std::string(use.option->name) + " needs a file name";
            }
            (use.option->name == kResultLogOption ? start.resultLog : start.clickFile) =
                PathOfUtf8(*use.value);
            return std::string();
        },
        [&asked](const std::string& argument) { return asked.empty() ? UnknownArgument(argument) : ""; },
        [&start](const std::string& argument) {
            start.toolkitArguments.push_back(argument);
            return std::string();
        }};
    if (const std::string error = WalkArguments(parsed.rest, rules); !error.empty()) {
        return WindowUsageError(err, error);
    }
    if (asked == kHelpOption) {
        out << "Usage: " << kWindowProgram << " [OPTION]...\n"
            << "Writes key and mouse assignments into a USB pedal switch (vendor 2704, product 2018).\n\n"
            << "Options:\n"
            << BackendOptionsHelp() << "\n"
            << OptionHelp(kTestOptions) << "\n"
            << OptionHelp(kHelpOptions) << "\n";
        return 0;
    }
    if (!asked.empty()) {
        out << kWindowProgram << " " << TREADKEY_VERSION << "\n";
        return 0;
    }
    // A file the virtual pedal cannot use would otherwise show as a write that failed.
    if (const std::string problem = CheckVirtualPedalFiles(start.options.virtualPedal); !problem.empty()) {
        err << kWindowProgram << ": " << problem << "\n";
        return 2;
    }
    return open(start);
}

} // namespace treadkey
