#include "app/ui_services.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

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

} // namespace treadkey
