#include "app/qt_window.h"
#include "app/ui_services.h"
#include "crowded_hid_stack.h"
#include "stacks/virtual/virtual_pedal.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <optional>

namespace {

using treadkey::testing::FakeHidBackend;

// Real pauses, no dialogs: a key click costs what it costs the user.
class PausingUi : public treadkey::UiServices {
public:
    void ShowMessage(const QString&, const QString&) override {}
    bool AskOkCancel(const QString&, const QString&) override { return true; }
    void Sleep(int milliseconds) override { QThread::msleep(static_cast<unsigned long>(milliseconds)); }
    // The record is kept, as the program keeps it, in a folder of the bench's own.
    std::optional<std::filesystem::path> StateDirectory() override { return stateDirectory; }

    std::filesystem::path stateDirectory = std::filesystem::temp_directory_path() / "treadkey-bench-state";
};

struct ConnectedWindow {
    explicit ConnectedWindow(treadkey::HidBackend& backend) : window(backend, ui) {
        window.Form().Form_Load();
        window.Timer1->stop();
        window.Form().Timer1_Timer();
    }
    ~ConnectedWindow() {
        std::error_code ignored;
        std::filesystem::remove_all(ui.stateDirectory, ignored);
    }
    PausingUi ui;
    treadkey::QtWindow window;
};

void BM_WindowTick(benchmark::State& state) {
    FakeHidBackend backend;
    treadkey::bench::PlugOthersThenPedal(backend, static_cast<int>(state.range(0)));
    ConnectedWindow connected(backend);
    for (auto _ : state) {
        connected.window.Form().Timer1_Timer();
    }
}

// The same tick with the pedal's keyboard and mouse interfaces watched as well (one read-only handle each,
// read without waiting), a press queued on each before every tick: what logging the pedal's output adds.
void BM_WindowTickWatchingPresses(benchmark::State& state) {
    FakeHidBackend backend;
    treadkey::bench::PlugOthersThenPedal(backend, static_cast<int>(state.range(0)));
    treadkey::bench::PlugKeyboardAndMouse(backend);
    ConnectedWindow connected(backend);
    for (auto _ : state) {
        backend.Send("pedal-keyboard", {0x03, 0, 0x04, 0, 0, 0, 0, 0});
        backend.Send("pedal-keyboard", {0, 0, 0, 0, 0, 0, 0, 0});
        connected.window.Form().Timer1_Timer();
        // The list grows by a line a press; cleared now and then, as in BM_ClearAll.
        state.PauseTiming();
        connected.window.Form().Clear_Click();
        state.ResumeTiming();
    }
}

// One line of the result list alone, cleared as above: what a press's line costs whoever writes it.
void BM_AddResultLine(benchmark::State& state) {
    FakeHidBackend backend;
    ConnectedWindow connected(backend);
    const std::string text = "踏板输出:  < Ctrl + Shift + A >";
    for (auto _ : state) {
        connected.window.Form().AddResultLine(text);
        state.PauseTiming();
        connected.window.Form().Clear_Click();
        state.ResumeTiming();
    }
}

// The watched tick when nothing was pressed: the price of watching alone.
void BM_WindowTickWatchingIdle(benchmark::State& state) {
    FakeHidBackend backend;
    treadkey::bench::PlugOthersThenPedal(backend, static_cast<int>(state.range(0)));
    treadkey::bench::PlugKeyboardAndMouse(backend);
    ConnectedWindow connected(backend);
    for (auto _ : state) {
        connected.window.Form().Timer1_Timer();
    }
}

// From the click to the last of its three reports; two 50 ms pauses are part of it.
void BM_KeyClickToLastReport(benchmark::State& state) {
    treadkey::VirtualPedal pedal;
    ConnectedWindow connected(pedal);
    for (auto _ : state) {
        connected.window.Form().Command_key_Click(50);
        state.PauseTiming();
        QCoreApplication::processEvents(); // the record of the click, written after its last report
        state.ResumeTiming();
    }
}

// The record of a key click alone: read, changed and written whole under its lock.
void BM_KeyClickRecord(benchmark::State& state) {
    treadkey::VirtualPedal pedal;
    ConnectedWindow connected(pedal);
    for (auto _ : state) {
        state.PauseTiming();
        connected.window.Form().Command_key_Click(50);
        state.ResumeTiming();
        QCoreApplication::processEvents();
    }
}

void BM_ClearAll(benchmark::State& state) {
    treadkey::VirtualPedal pedal;
    ConnectedWindow connected(pedal);
    for (auto _ : state) {
        connected.window.Form().Command1_Click();
        // A user clears the list now and then; a list grown by thousands of runs would measure the list.
        state.PauseTiming();
        connected.window.Form().Clear_Click();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_WindowTick)->Arg(1)->Arg(16)->Arg(64);
BENCHMARK(BM_WindowTickWatchingIdle)->Arg(1)->Arg(16)->Arg(64);
BENCHMARK(BM_WindowTickWatchingPresses)->Arg(1)->Arg(16)->Arg(64);
BENCHMARK(BM_AddResultLine);
BENCHMARK(BM_KeyClickToLastReport)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_KeyClickRecord)->Unit(benchmark::kMicrosecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_ClearAll)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
