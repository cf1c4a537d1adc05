#include "cli/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <csignal>

namespace treadkey {
namespace {

volatile std::sig_atomic_t stopRequested = 0;
int wakeWriteEnd = -1;
constexpr std::array<int, 2> kStopSignals = {SIGINT, SIGTERM};
std::array<struct sigaction, 2> previousActions{};

extern "C" void OnStopSignal(int) {
    stopRequested = 1;
    if (wakeWriteEnd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(wakeWriteEnd, &byte, 1); // full pipe: already awake
    }
}

} // namespace

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

bool StopSignals::requested() const {
    return stopRequested != 0;
}

} // namespace treadkey
