// The window as the program runs it, made the active window so that it holds the pedal: prints
// "held=N pid=P" (the interfaces it holds, its process) once it does, then runs until the guest test kills
// it.
#include "app/qt_window.h"
#include "app/ui_services.h"
#include "stacks/hidapi/hidapi_backend.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <iostream>
#include <memory>
#include <unistd.h>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("treadkey-setup"));
    const std::unique_ptr<treadkey::HidBackend> backend = treadkey::MakeHidapiBackend();
    treadkey::QtUiServices ui;
    treadkey::QtWindow window(*backend, ui);
    window.Form().Form_Load();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        std::cout << "held=none: the window never became active" << std::endl;
        return 1;
    }
    window.Form().Timer1_Timer();
    std::cout << "held=" << window.Form().Hold().HeldCount() << " pid=" << ::getpid() << std::endl;
    return QApplication::exec();
}
