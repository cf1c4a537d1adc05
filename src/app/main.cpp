#include "app/close_on_signal.h"
#include "app/ui_services.h"
#include "app/usb_window.h"
#include "arguments/option_table.h"
#include "arguments/shown_text.h"
#include "stack_choice/backend_options.h"
#include "stack_choice/virtual_pedal_files.h"

#include <QApplication>
#include <array>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kProgram = "treadkey-setup";

constexpr std::string_view kHelpOption = "--help";
constexpr std::array<treadkey::OptionSpec, 2> kHelpOptions = {{
    {.name = kHelpOption, .help = "show this help and exit", .alias = "-h"},
    {.name = "--version", .help = "show the version and exit", .alias = "-V"},
}};

void PrintHelp() {
    std::cout << "Usage: " << kProgram << " [OPTION]...\n"
              << "Writes key and mouse assignments into a USB pedal switch (vendor 2704, product 2018).\n\n"
              << "Options:\n"
              << treadkey::BackendOptionsHelp() << "\n"
              << treadkey::OptionHelp(kHelpOptions) << "\n";
}

int UsageError(const std::string& message) {
    std::cerr << kProgram << ": " << message << "\nTry '" << kProgram << " --help' for more information.\n";
    return 2;
}

int RunWindow(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const treadkey::ParsedBackendOptions parsed = treadkey::ParseBackendOptions(arguments);
    if (!parsed.error.empty()) {
        return UsageError(parsed.error);
    }
    // What is left belongs to Qt (single-dash options such as -platform xcb) or is an error, found before any
    // window opens. The first of --help and --version wins, and nothing after it is looked at.
    std::string_view asked;
    std::vector<std::string> qtArgumentText{argv[0]};
    treadkey::ArgumentRules rules{{kHelpOptions},
                                  treadkey::ArgumentRules::EndOfOptions::NotSpecial,
                                  [&asked](const treadkey::OptionUse& use) {
                                      asked = asked.empty() ? use.option->name : asked;
                                      return std::string();
                                  },
                                  [&asked](const std::string& argument) {
                                      return asked.empty()
                                                 ? "unknown argument '" + treadkey::ShownText(argument) + "'"
                                                 : "";
                                  },
                                  [&qtArgumentText](const std::string& argument) {
                                      qtArgumentText.push_back(argument);
                                      return std::string();
                                  }};
    if (const std::string error = treadkey::WalkArguments(parsed.rest, rules); !error.empty()) {
        return UsageError(error);
    }
    if (asked == kHelpOption) {
        PrintHelp();
        return 0;
    }
    if (!asked.empty()) {
        std::cout << kProgram << " " << TREADKEY_VERSION << "\n";
        return 0;
    }
    // A file the virtual pedal cannot use would otherwise show as a write that failed.
    if (const std::string problem = treadkey::CheckVirtualPedalFiles(parsed.options.virtualPedal);
        !problem.empty()) {
        std::cerr << kProgram << ": " << problem << "\n";
        return 2;
    }
    // QApplication keeps argc and argv for its whole life; both live until main returns.
    std::vector<char*> qtArguments;
    for (std::string& argument : qtArgumentText) {
        qtArguments.push_back(argument.data());
    }
    int qtArgumentCount = static_cast<int>(qtArguments.size());
    qtArguments.push_back(nullptr);

    const std::unique_ptr<treadkey::HidBackend> backend = treadkey::MakeBackend(parsed.options);
    QApplication application(qtArgumentCount, qtArguments.data());
    QApplication::setApplicationName(QString::fromLatin1(kProgram));
    QApplication::setApplicationVersion(QStringLiteral(TREADKEY_VERSION));
    if (qtArgumentCount > 1) {
        return UsageError("unknown argument '" + treadkey::ShownText(qtArguments[1]) + "'");
    }

    treadkey::QtUiServices ui;
    treadkey::USB window(*backend, ui);
    window.ChoosePedal(parsed.options.pedal);
    treadkey::CloseOnTerminationSignals(window);
    window.Form_Load();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    try {
        return RunWindow(argc, argv);
    } catch (const std::exception& error) {
        // The last resort: a failure nothing foresaw is still one line, not an abort.
        std::cerr << kProgram << ": " << error.what() << "\n";
        return 1;
    }
}
