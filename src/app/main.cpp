#include "app/form/window_program.h"
#include "app/form/window_wording.h"
#include "app/qt_window.h"
#include "app/ui_services.h"
#include "signals/stop_requests.h"

#include <QApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>

#include <iostream>
#include <string>
#include <vector>

namespace {

// Closes the window, as its close button would, when the process is asked to stop (SIGTERM, SIGINT, SIGHUP):
// a logout or a Ctrl+C then still releases the pedal and ends with exit code 0. The window owns it, and it
// catches the requests for as long as the window lives.
class WindowStopRequests : public QObject {
public:
    explicit WindowStopRequests(QWidget& window)
        : QObject(&window), requests_(treadkey::StopOn::AnyRequest, [closing = QPointer<QWidget>(&window)] {
              // On the catcher's thread: the window closes on its own, as its close button closes it.
              QMetaObject::invokeMethod(
                  qApp,
                  [closing] {
                      if (closing) {
                          closing->close();
                      }
                  },
                  Qt::QueuedConnection);
          }) {}

private:
    treadkey::StopRequests requests_;
};

int RunWindow(int argc, char** argv) {
    return treadkey::StartWindowProgram(
        std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
        [argv](const treadkey::WindowStart& start) {
            // QApplication keeps argc and argv for its whole life; both live until it returns.
            std::vector<std::string> qtArgumentText{argv[0]};
            qtArgumentText.insert(qtArgumentText.end(), start.toolkitArguments.begin(),
                                  start.toolkitArguments.end());
            std::vector<char*> qtArguments;
            for (std::string& argument : qtArgumentText) {
                qtArguments.push_back(argument.data());
            }
            int qtArgumentCount = static_cast<int>(qtArguments.size());
            qtArguments.push_back(nullptr);

            const std::unique_ptr<treadkey::HidBackend> backend = treadkey::MakeBackend(start.options);
            QApplication application(qtArgumentCount, qtArguments.data());
            QApplication::setApplicationName(QString::fromUtf8(treadkey::kWindowProgram.data()));
            QApplication::setApplicationVersion(QStringLiteral(TREADKEY_VERSION));
            if (qtArgumentCount > 1) {
                return treadkey::WindowUsageError(std::cerr, treadkey::UnknownArgument(qtArguments[1]));
            }
            treadkey::QtUiServices ui;
            treadkey::QtWindow window(*backend, ui);
            window.Form().ChoosePedal(start.options.pedal);
            treadkey::UseTestFiles(window.Form(), start);
            new WindowStopRequests(window); // the window owns it
            window.Form().Form_Load();
            return QApplication::exec();
        });
}

} // namespace

int main(int argc, char** argv) {
    try {
        return RunWindow(argc, argv);
    } catch (const std::exception& error) {
        // The last resort: a failure nothing foresaw is still one line, not an abort.
        std::cerr << treadkey::kWindowProgram << ": " << error.what() << "\n";
        return 1;
    }
}
