#include "signals/stop_requests.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <future>
#include <string>
#include <thread>

#include <poll.h>

namespace treadkey {
namespace {

using namespace std::chrono_literals;

bool Readable(int descriptor, std::chrono::milliseconds longest) {
    pollfd waiting{descriptor, POLLIN, 0};
    return ::poll(&waiting, 1, static_cast<int>(longest.count())) == 1;
}

const struct {
    int signal;
    StopOn which;
    std::string name;
} kCaught[] = {
    {SIGINT, StopOn::InterruptOrTerminate, "SIGINT to a command"},
    {SIGTERM, StopOn::InterruptOrTerminate, "SIGTERM to a command"},
    {SIGINT, StopOn::AnyRequest, "SIGINT to a window"},
    {SIGTERM, StopOn::AnyRequest, "SIGTERM to a window"},
    {SIGHUP, StopOn::AnyRequest, "SIGHUP to a window"},
};

// A request raised in the process wakes a poll() on the descriptor, and the next catcher starts unasked.
TEST(StopRequests, ARequestWakesAPollOnTheDescriptor) {
    for (const auto& c : kCaught) {
        const StopRequests requests(c.which);
        ASSERT_GE(requests.descriptor(), 0) << c.name;
        EXPECT_FALSE(requests.requested()) << c.name;
        EXPECT_FALSE(Readable(requests.descriptor(), 0ms)) << c.name;
        std::raise(c.signal);
        EXPECT_TRUE(Readable(requests.descriptor(), 5000ms)) << c.name;
        EXPECT_TRUE(requests.requested()) << c.name;
    }
}

// The window's way: each request calls back on the catcher's thread, not in the handler.
TEST(StopRequests, EachRequestCallsBackOnAThreadOfItsOwn) {
    for (const auto& c : kCaught) {
        std::promise<std::thread::id> first;
        std::atomic<int> calls = 0;
        const StopRequests requests(c.which, [&] {
            if (++calls == 1) {
                first.set_value(std::this_thread::get_id());
            }
        });
        std::future<std::thread::id> calledOn = first.get_future();
        std::raise(c.signal);
        ASSERT_EQ(calledOn.wait_for(5s), std::future_status::ready) << c.name;
        EXPECT_NE(calledOn.get(), std::this_thread::get_id()) << c.name;
        std::raise(c.signal);
        for (int looks = 0; calls < 2 && looks < 500; ++looks) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_EQ(calls, 2) << c.name;
    }
}

// A command leaves a hang-up to end it, as a closed terminal always did.
TEST(StopRequestsDeathTest, ACommandIsStillEndedByAHangUp) {
    EXPECT_EXIT(
        {
            const StopRequests requests(StopOn::InterruptOrTerminate);
            std::raise(SIGHUP);
        },
        ::testing::KilledBySignal(SIGHUP), "");
}

std::atomic<int> ownHandlerRuns = 0;
extern "C" void OwnHandler(int) {
    ++ownHandlerRuns;
}

// Once the catcher is gone, the signals reach whatever handled them before.
TEST(StopRequests, ThePreviousHandlingComesBack) {
    struct sigaction own {};
    own.sa_handler = OwnHandler;
    sigemptyset(&own.sa_mask);
    struct sigaction before[3]{};
    const int signals[3] = {SIGINT, SIGTERM, SIGHUP};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(::sigaction(signals[i], &own, &before[i]), 0);
    }
    {
        const StopRequests requests(StopOn::AnyRequest, [] {});
        std::raise(SIGTERM);
        EXPECT_EQ(ownHandlerRuns, 0);
    }
    for (const int signal : signals) {
        std::raise(signal);
    }
    EXPECT_EQ(ownHandlerRuns, 3);
    for (int i = 0; i < 3; ++i) {
        ::sigaction(signals[i], &before[i], nullptr);
    }
}

} // namespace
} // namespace treadkey
