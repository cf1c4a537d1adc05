// Starts either the program's window (over the virtual pedal) or a bare Qt window of the same size, and
// prints the wall-clock time at which the window is first on screen, and the peak memory so far.
// bench/startup.sh compares the two.
#include "app/qt_window.h"
#include "app/ui_services.h"
#include "stacks/virtual/virtual_pedal.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <sys/resource.h>

namespace {

long long NowNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Polls until the platform says the window is exposed, then reports and quits.
void ReportWhenShown(QWidget& window) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, [&window, poll] {
        if (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
            return;
        }
        poll->stop();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("shown_ns=%lld peak_rss_kb=%ld\n", NowNanoseconds(), usage.ru_maxrss);
        QApplication::quit();
    });
    poll->start(1);
}

} // namespace

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication application(argc, argv);
    if (bare) {
        QWidget window;
        window.setWindowTitle(QStringLiteral("bare"));
        window.setFixedSize(1066, 673);
        QFont font;
        font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                          QStringLiteral("Noto Sans CJK SC")});
        font.setPointSizeF(10.5);
        window.setFont(font);
        QLabel label(QStringLiteral("USB设备联接成功"), &window);
        label.adjustSize();
        window.show();
        ReportWhenShown(window);
        return QApplication::exec();
    }
    treadkey::VirtualPedal pedal;
    treadkey::QtUiServices ui;
    treadkey::QtWindow window(pedal, ui);
    window.Form().Form_Load();
    ReportWhenShown(window);
    return QApplication::exec();
}
