// The window's tick (USB::Timer1_Timer: discovery, status text, enabling of the write controls) against a
// bare enumeration plus one open and close, with 1 and 16 HID interfaces present, offscreen on the test
// guest's kernel. Prints the figures; being slow does not fail it, only a tick that misses the pedal does.
#include "app/qt_window.h"
#include "app/ui_services.h"
#include "stacks/hidapi/hidapi_backend.h"
#include "tick_comparison.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    using namespace treadkey::kernelbench;
    QApplication application(argc, argv);
    try {
        PluggedInterfaces plugged;
        const auto backend = treadkey::MakeHidapiBackend();
        treadkey::QtUiServices ui; // a tick asks nothing of the user
        treadkey::QtWindow window(*backend, ui);
        window.Form().Form_Load();
        window.Timer1->stop();
        const auto ours = [&window] {
            window.Form().Timer1_Timer();
            return window.Form().Link().DeviceDetected;
        };

        PrintHeader("window tick", "USB::Timer1_Timer");
        for (const int interfaces : {1, 16}) {
            plugged.growTo(interfaces);
            Comparison compared;
            if (!Compare(BareTick, ours, compared)) {
                std::fprintf(stderr, "window_tick_bench: the pedal was not found with %d interfaces\n",
                             interfaces);
                return 1;
            }
            PrintRow(interfaces, compared);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window_tick_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
