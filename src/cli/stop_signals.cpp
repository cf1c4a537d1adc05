#include "cli/stop_signals.h"

#include <array>
#include <csignal>

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace treadkey {
namespace {

volatile std::sig_atomic_t stopRequested = 0;
[[maybe_unused]] int wakeWriteEnd = -1;
constexpr std::array<int, 2> kStopSignals = {SIGINT, SIGTERM};
#if !defined(_WIN32)
std::array<struct sigaction, 2> previousActions{};
#endif

extern "C" void OnStopSignal(int) {
    stopRequested = 1;
#if !defined(_WIN32)
    if (wakeWriteEnd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(wakeWriteEnd, &byte, 1); // full pipe: already awake
    }
#endif
}

} // namespace

#if defined(_WIN32)
// Without pipes or sigaction: the flag alone, which a waiting monitor sees within its next look.
StopSignals::StopSignals() {
    stopRequested = 0;
    for (const int signal : kStopSignals) {
        std::signal(signal, OnStopSignal);
    }
}

StopSignals::~StopSignals() {
    for (const int signal : kStopSignals) {
        std::signal(signal, SIG_DFL);
    }
}
#else
StopSignals::StopSignals() {
    stopRequested = 0;
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) == 0) {
        readEnd_ = ends[0];
        wakeWriteEnd = ends[1];
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        sigaction(kStopSignals[i], &action, &previousActions[i]);
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        sigaction(kStopSignals[i], &previousActions[i], nullptr);
    }
    if (readEnd_ >= 0) {
        ::close(readEnd_);
        ::close(wakeWriteEnd);
        wakeWriteEnd = -1;
    }
}
#endif

bool StopSignals::requested() const {
    return stopRequested != 0;
}

} // namespace treadkey
