#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace treadkey {

// Which requests to stop a program takes as a wish to end gently rather than ending at once.
enum class StopOn {
    // Ctrl+C and SIGTERM (Windows: Ctrl+C): a command, which a hang-up of its terminal still ends.
    InterruptOrTerminate,
    // Those, a hang-up (a logout), and on Windows every console control event: a window, which should release
    // the pedal as its close box does however the session ends.
    AnyRequest,
};

// While it lives, the requests `which` names no longer end the process: each turns requested() true, makes
// descriptor() readable and calls `whenAsked` on a thread of its own (never in a signal handler). The
// previous handling comes back when it goes; where the system gives nothing to wake a waiter with, it stays.
// One at a time in a process.
class StopRequests {
public:
    explicit StopRequests(StopOn which, std::function<void()> whenAsked = {});
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    bool requested() const;
    // Readable once a request came, for a poll() that waits on other descriptors too; -1 where the system
    // has none (Windows). Not to be read while a `whenAsked` is given.
    int descriptor() const;
    // Until one of `descriptors` is readable, a request comes or `longest` has passed. Where the system gives
    // no descriptors to wait on (Windows), a nap of a few milliseconds at most, after which the caller looks
    // again.
    void Wait(const std::vector<int>& descriptors, std::chrono::milliseconds longest) const;

    struct Catching; // each system's own state, in its own file

private:
    std::unique_ptr<Catching> catching_;
};

} // namespace treadkey
