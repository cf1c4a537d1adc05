#include "app/ui_services.h"

#include "record/state_file.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdlib>

namespace treadkey {

void QtUiServices::ShowMessage(const QString& text, const QString& title) {
    QMessageBox::information(QApplication::activeWindow(), title, text, QMessageBox::Ok);
}

bool QtUiServices::AskOkCancel(const QString& text, const QString& title) {
    return QMessageBox::question(QApplication::activeWindow(), title, text,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

void QtUiServices::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

std::optional<std::filesystem::path> QtUiServices::StateDirectory() {
    return treadkey::StateDirectory([](const char* name) { return std::getenv(name); });
}

} // namespace treadkey
