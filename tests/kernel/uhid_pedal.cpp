#include "kernel/uhid_pedal.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace treadkey::kerneltest {
namespace {

constexpr std::uint16_t kBusUsb = 0x03;
// Generous: under QEMU without hardware acceleration, plugging takes about 70 ms but can stall.
constexpr auto kPlugTimeout = std::chrono::seconds(10);

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// A physical path of its own for each device: the pedal's, then "/input" and a number no other device of any
// process has.
std::string NextPhys(const std::string& pedalPhys) {
    static std::atomic<int> counter{0};
    return pedalPhys + "/input" + std::to_string(::getpid()) + std::to_string(1000 + ++counter);
}

void CopyText(const std::string& text, std::uint8_t* field, std::size_t fieldSize) {
    std::memcpy(field, text.data(), std::min(text.size(), fieldSize - 1));
}

// The name ("hidrawN") of the hidraw node whose HID device has the physical path; empty when there is none.
std::string FindHidrawNode(const std::string& phys) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/hidraw", error)) {
        std::ifstream uevent(entry.path() / "device/uevent");
        for (std::string line; std::getline(uevent, line);) {
            if (line == "HID_PHYS=" + phys) {
                return entry.path().filename().string();
            }
        }
    }
    return "";
}

} // namespace

UhidPedal::UhidPedal(UhidIdentity identity) : identity_(std::move(identity)) {
    if (identity_.reportDescriptor.empty() || identity_.reportDescriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
        throw std::invalid_argument("a report descriptor takes 1 to 4096 bytes");
    }
    create();
}

UhidPedal::~UhidPedal() {
    unplug();
}

void UhidPedal::create() {
    if (uhidFd_ >= 0) {
        throw std::logic_error(identity_.name + " exists already");
    }
    {
        const std::lock_guard lock(mutex_);
        started_ = false;
        readerIdle_ = false;
        readerError_.clear();
        openCount_ = 0;
        outputReports_.clear();
    }
    phys_ = NextPhys(identity_.phys);
    uhidFd_ = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (uhidFd_ < 0) {
        ThrowErrno("cannot open /dev/uhid");
    }
    stopFd_ = ::eventfd(0, EFD_CLOEXEC);
    if (stopFd_ < 0) {
        const int error = errno;
        unplug();
        errno = error;
        ThrowErrno("cannot make an eventfd");
    }
    reader_ = std::thread(&UhidPedal::readEvents, this);

    try {
        uhid_event event{};
        event.type = UHID_CREATE2;
        auto& request = event.u.create2;
        CopyText(identity_.name, request.name, sizeof request.name);
        CopyText(phys_, request.phys, sizeof request.phys);
        CopyText(identity_.serial, request.uniq, sizeof request.uniq);
        request.rd_size = static_cast<std::uint16_t>(identity_.reportDescriptor.size());
        request.bus = kBusUsb;
        request.vendor = identity_.vendorId;
        request.product = identity_.productId;
        request.version = 0x0100;
        std::copy(identity_.reportDescriptor.begin(), identity_.reportDescriptor.end(), request.rd_data);
        if (!writeEvent(event)) {
            ThrowErrno("cannot create " + identity_.name + " through /dev/uhid");
        }
        waitUntilPlugged();
    } catch (...) {
        unplug();
        throw;
    }
}

void UhidPedal::destroy() {
    if (uhidFd_ < 0) {
        throw std::logic_error(identity_.name + " does not exist");
    }
    unplug();
    const auto deadline = std::chrono::steady_clock::now() + kPlugTimeout;
    while (!FindHidrawNode(phys_).empty()) {
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error(identity_.name + ": the hidraw node stayed after UHID_DESTROY");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<Bytes> UhidPedal::outputReports() {
    const std::unique_lock lock = caughtUp();
    return outputReports_;
}

int UhidPedal::openCount() {
    const std::unique_lock lock = caughtUp();
    return openCount_;
}

std::unique_lock<std::mutex> UhidPedal::caughtUp() {
    std::unique_lock lock(mutex_);
    if (uhidFd_ < 0) {
        return lock; // unplugged: nothing more comes
    }
    const bool idle = changed_.wait_for(lock, kPlugTimeout, [&] {
        pollfd pending{uhidFd_, POLLIN, 0};
        return !readerError_.empty() || (readerIdle_ && ::poll(&pending, 1, 0) == 0);
    });
    if (!readerError_.empty()) {
        throw std::runtime_error(readerError_);
    }
    if (!idle) {
        throw std::runtime_error(identity_.name + ": the uhid reader fell behind");
    }
    return lock;
}

void UhidPedal::waitUntilPlugged() {
    {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, kPlugTimeout, [&] { return started_ || !readerError_.empty(); })) {
            throw std::runtime_error(identity_.name +
                                     ": the kernel did not start the device (is hid-generic loaded?)");
        }
        if (!readerError_.empty()) {
            throw std::runtime_error(readerError_);
        }
    }
    // The hidraw node is added after UHID_START, and devtmpfs makes its /dev entry.
    const auto deadline = std::chrono::steady_clock::now() + kPlugTimeout;
    for (;;) {
        const std::string node = FindHidrawNode(phys_);
        if (!node.empty() && std::filesystem::exists("/dev/" + node)) {
            hidrawPath_ = "/dev/" + node;
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error(identity_.name + ": no hidraw node appeared");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void UhidPedal::readEvents() {
    // uhid drops what does not fit its queue of 32 events. With the writer and the reader sharing a CPU, a
    // burst of writes fills it before the scheduler gets round to an ordinary reader; a real-time reader runs
    // as soon as an event is queued. Where that is not allowed, a burst may overrun the queue, which shows as
    // missing reports.
    const sched_param realTime{1};
    ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &realTime);
    const auto fail = [this](const std::string& what, int error) {
        const std::lock_guard lock(mutex_);
        readerError_ = identity_.name + ": " + what + ": " + std::strerror(error);
        changed_.notify_all();
    };
    pollfd waiting[2] = {{uhidFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    uhid_event event{};
    const auto setIdle = [this](bool idle) {
        const std::lock_guard lock(mutex_);
        readerIdle_ = idle;
        changed_.notify_all();
    };
    for (;;) {
        setIdle(true);
        const int polled = ::poll(waiting, 2, -1);
        const int pollError = errno;
        setIdle(false); // before the read, so that caughtUp() never takes a read event for a handled one
        if (polled < 0) {
            if (pollError == EINTR) {
                continue;
            }
            fail("poll on /dev/uhid failed", pollError);
            return;
        }
        if (waiting[1].revents != 0) {
            return;
        }
        if (::read(uhidFd_, &event, sizeof event) < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            fail("reading /dev/uhid failed", errno);
            return;
        }
        switch (event.type) {
        case UHID_START: {
            const std::lock_guard lock(mutex_);
            started_ = true;
            changed_.notify_all();
            break;
        }
        case UHID_OPEN: {
            const std::lock_guard lock(mutex_);
            ++openCount_;
            break;
        }
        case UHID_OUTPUT: {
            const auto& output = event.u.output;
            const std::size_t size = std::min<std::size_t>(output.size, UHID_DATA_MAX);
            const std::lock_guard lock(mutex_);
            outputReports_.emplace_back(output.data, output.data + size);
            changed_.notify_all();
            break;
        }
        case UHID_GET_REPORT: {
            uhid_event reply{};
            reply.type = UHID_GET_REPORT_REPLY;
            reply.u.get_report_reply.id = event.u.get_report.id;
            reply.u.get_report_reply.err = EIO;
            if (!writeEvent(reply)) {
                fail("answering GET_REPORT failed", errno);
                return;
            }
            break;
        }
        case UHID_SET_REPORT: {
            uhid_event reply{};
            reply.type = UHID_SET_REPORT_REPLY;
            reply.u.set_report_reply.id = event.u.set_report.id;
            reply.u.set_report_reply.err = EIO;
            if (!writeEvent(reply)) {
                fail("answering SET_REPORT failed", errno);
                return;
            }
            break;
        }
        default: // STOP, CLOSE: nothing to keep
            break;
        }
    }
}

void UhidPedal::sendInput(const Bytes& report) {
    if (uhidFd_ < 0) {
        throw std::logic_error(identity_.name + " does not exist");
    }
    uhid_event event{};
    event.type = UHID_INPUT2;
    if (report.size() > sizeof event.u.input2.data) {
        throw std::logic_error("an input report of " + std::to_string(report.size()) + " bytes is too long");
    }
    event.u.input2.size = static_cast<std::uint16_t>(report.size());
    std::copy(report.begin(), report.end(), event.u.input2.data);
    if (!writeEvent(event)) {
        ThrowErrno("cannot send an input report of " + identity_.name);
    }
}

bool UhidPedal::writeEvent(const uhid_event& event) {
    return ::write(uhidFd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event);
}

void UhidPedal::unplug() noexcept {
    if (uhidFd_ < 0) {
        return;
    }
    if (reader_.joinable()) {
        uhid_event event{};
        event.type = UHID_DESTROY;
        // Closing /dev/uhid destroys the device as well, should this write fail.
        [[maybe_unused]] const bool destroyed = writeEvent(event);
        const std::uint64_t stop = 1;
        [[maybe_unused]] const ssize_t signalled = ::write(stopFd_, &stop, sizeof stop);
        reader_.join();
    }
    if (stopFd_ >= 0) {
        ::close(stopFd_);
        stopFd_ = -1;
    }
    ::close(uhidFd_);
    uhidFd_ = -1;
    hidrawPath_.clear();
}

} // namespace treadkey::kerneltest
