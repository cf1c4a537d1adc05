// The window as a user without access to the pedal sees it: starts as the program does, lets discovery run a
// few ticks, and prints what the window then shows, one "name=value" line each, for the guest test that ran
// it under another user id. The window's own diagnostics go to stderr as usual.
#include "app/form/control_table.h"
#include "app/qt_window.h"
#include "app/ui_services.h"
#include "kernel/test_descriptors.h"
#include "stacks/hidapi/hidapi_backend.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr int kTicks = 3; // the window must say why only once, however often it looks

bool AnyWriteControlEnabled(treadkey::QtWindow& window) {
    for (int index = 0; index < treadkey::kKeyButtonCount; ++index) {
        if (window.Find<QPushButton>(treadkey::KeyButtonName(index))->isEnabled()) {
            return true;
        }
    }
    for (const std::string_view name : treadkey::kWriteButtonsAfterKeys) {
        const QString objectName = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        if (window.findChild<QWidget*>(objectName)->isEnabled()) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("treadkey-setup"));
    const std::unique_ptr<treadkey::HidBackend> backend = treadkey::MakeHidapiBackend();
    treadkey::QtUiServices ui;
    treadkey::QtWindow window(*backend, ui);
    window.Form().Form_Load();
    window.Timer1->stop();
    for (int tick = 0; tick < kTicks; ++tick) {
        window.Form().Timer1_Timer();
    }

    std::string listed;
    for (const treadkey::HidInterface& found :
         backend->enumerate(treadkey::kerneltest::kPedalVendorId, treadkey::kerneltest::kPedalProductId)) {
        if (found.vendorId == treadkey::kerneltest::kPedalVendorId &&
            found.productId == treadkey::kerneltest::kPedalProductId) {
            listed += (listed.empty() ? "" : ",") + found.path;
        }
    }
    std::cout << "listed=" << listed << "\n"
              << "detected=" << window.Form().Link().DeviceDetected << "\n"
              << "status=" << window.Find<QLabel>("Label3")->text().toStdString() << "\n"
              << "tooltip=" << window.Find<QLabel>("Label3")->toolTip().toStdString() << "\n"
              << "write_controls_enabled=" << AnyWriteControlEnabled(window) << "\n";
    return 0;
}
