// The self-pipe: a signal handler may do almost nothing, so it writes a byte that wakes whoever waits on the
// pipe's other end.
#include "signals/stop_requests.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace treadkey {
namespace {

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "set and read in a signal handler");
std::atomic<bool> stopRequested = false;
std::atomic<int> wakeWriteEnd = -1;

extern "C" void OnStopSignal(int) {
    stopRequested = true;
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWriteEnd, &byte, 1); // a full pipe: already awake
    errno = savedErrno;
}

std::vector<int> SignalsOf(StopOn which) {
    if (which == StopOn::AnyRequest) {
        return {SIGINT, SIGTERM, SIGHUP};
    }
    return {SIGINT, SIGTERM};
}

// Calls whenAsked for each byte until the write end closes.
void WatchPipe(int readEnd, const std::function<void()>& whenAsked) {
    for (;;) {
        char byte = 0;
        const ssize_t got = ::read(readEnd, &byte, 1);
        if (got == 1) {
            whenAsked();
        } else if (got == 0 || errno != EINTR) {
            return;
        }
    }
}

} // namespace

struct StopRequests::Catching {
    int readEnd = -1;
    int writeEnd = -1;
    std::vector<int> signals;
    std::vector<struct sigaction> previous;
    std::thread watcher;
};

StopRequests::StopRequests(StopOn which, std::function<void()> whenAsked)
    : catching_(std::make_unique<Catching>()) {
    stopRequested = false;
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
        return;
    }
    // The handler must never block on a full pipe; the watcher reads its end blocking.
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
    catching_->readEnd = ends[0];
    catching_->writeEnd = ends[1];
    wakeWriteEnd = ends[1];
    if (whenAsked) {
        catching_->watcher = std::thread(WatchPipe, ends[0], std::move(whenAsked));
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    catching_->signals = SignalsOf(which);
    catching_->previous.resize(catching_->signals.size());
    for (std::size_t i = 0; i < catching_->signals.size(); ++i) {
        ::sigaction(catching_->signals[i], &action, &catching_->previous[i]);
    }
}

StopRequests::~StopRequests() {
    for (std::size_t i = 0; i < catching_->signals.size(); ++i) {
        ::sigaction(catching_->signals[i], &catching_->previous[i], nullptr);
    }
    if (catching_->readEnd < 0) {
        return;
    }
    wakeWriteEnd = -1;
    ::close(catching_->writeEnd); // the watcher reads the end of the pipe and returns
    if (catching_->watcher.joinable()) {
        catching_->watcher.join();
    }
    ::close(catching_->readEnd);
}

bool StopRequests::requested() const {
    return stopRequested;
}

int StopRequests::descriptor() const {
    return catching_->readEnd;
}

void StopRequests::Wait(const std::vector<int>& descriptors, std::chrono::milliseconds longest) const {
    std::vector<pollfd> waiting;
    for (const int fd : descriptors) {
        waiting.push_back({fd, POLLIN, 0});
    }
    if (catching_->readEnd >= 0) {
        waiting.push_back({catching_->readEnd, POLLIN, 0});
    }
    ::poll(waiting.data(), waiting.size(), static_cast<int>(longest.count()));
}

} // namespace treadkey
