// Windows has no termination signals: a console's Ctrl+C, Ctrl+Break or closing, and a logoff or shutdown
// reach a console program through its control handler, which the system runs on a thread of its own.
#include "app/close_on_signal.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <windows.h>

namespace treadkey {
namespace {

QPointer<QWidget> closingWindow;

BOOL WINAPI OnConsoleControl(DWORD) {
    // Queued: the window is closed on its own thread, as its close button would close it.
    if (closingWindow) {
        QMetaObject::invokeMethod(closingWindow.data(), &QWidget::close, Qt::QueuedConnection);
    }
    return TRUE;
}

} // namespace

void CloseOnTerminationSignals(QWidget& window) {
    closingWindow = &window;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

} // namespace treadkey
