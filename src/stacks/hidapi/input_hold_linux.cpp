// The Linux side of the hold: the evdev nodes that the kernel's HID input handling made for the HID device
// behind a hidraw node, each opened and grabbed. A grab keeps every other reader of the node (the display
// server, the console) from its events, while hidraw, which sits below input handling, still hands each
// report to its readers. The kernel ends a grab with its file descriptor, so no way out of the program
// leaves the pedal held.
#include "stacks/hidapi/hidapi_platform.h"

#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

namespace treadkey::hidapi_platform {
namespace {

struct EventNode {
    std::string path; // /dev/input/eventK
    dev_t number = 0; // as sysfs gives it: the node must still be this device once opened
};

// The event nodes of the input devices whose parent is the HID device of `hidrawPath`:
// /sys/class/hidraw/hidrawN/device is that HID device, and each input/inputM/eventK below it one node.
std::vector<EventNode> EventNodesOf(const std::string& hidrawPath) {
    namespace fs = std::filesystem;
    std::vector<EventNode> nodes;
    std::error_code ignored;
    const fs::path inputs = fs::path("/sys/class/hidraw") / fs::path(hidrawPath).filename() / "device/input";
    for (const fs::directory_entry& input : fs::directory_iterator(inputs, ignored)) {
        for (const fs::directory_entry& handler : fs::directory_iterator(input.path(), ignored)) {
            const std::string name = handler.path().filename().string();
            unsigned major = 0;
            unsigned minor = 0;
            char colon = 0;
            std::ifstream dev(handler.path() / "dev");
            if (name.rfind("event", 0) == 0 && dev >> major >> colon >> minor && colon == ':') {
                nodes.push_back({"/dev/input/" + name, makedev(major, minor)});
            }
        }
    }
    return nodes;
}

class EvdevHold : public InputHold {
public:
    EvdevHold() = default;
    ~EvdevHold() override {
        for (const int fd : fds_) {
            ::close(fd);
        }
    }
    EvdevHold(const EvdevHold&) = delete;
    EvdevHold& operator=(const EvdevHold&) = delete;

    void adopt(int fd) { fds_.push_back(fd); }

    bool ended() const override {
        // A node whose device went away polls as hung up; its grab went with it.
        std::vector<pollfd> polled;
        for (const int fd : fds_) {
            polled.push_back({fd, 0, 0});
        }
        if (::poll(polled.data(), polled.size(), 0) <= 0) {
            return false;
        }
        for (const pollfd& p : polled) {
            if ((p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                return true;
            }
        }
        return false;
    }

private:
    std::vector<int> fds_;
};

HoldResult Refused(const std::string& node, int error) {
    if (error == EBUSY) {
        return {nullptr, HoldRefusal::Failed, "cannot hold " + node + ": another program holds it"};
    }
    OpenResult refused = RefusedWithErrno(node, error);
    const bool denied = refused.failure == OpenFailure::PermissionDenied;
    return {nullptr, denied ? HoldRefusal::PermissionDenied : HoldRefusal::Failed,
            std::move(refused.problem)};
}

} // namespace

HoldResult HoldInput(const std::string& path) {
    auto hold = std::make_unique<EvdevHold>();
    // An interface without an input node sends nothing to any window: nothing to hold, and nothing lost.
    for (const EventNode& node : EventNodesOf(path)) {
        const int fd = ::open(node.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return Refused(node.path, errno); // the nodes held so far are let go with `hold`
        }
        hold->adopt(fd);
        // Between reading sysfs and the open the pedal may have gone and its node's name passed to another
        // device, the computer's keyboard say: that one must never be held.
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISCHR(opened.st_mode) || opened.st_rdev != node.number) {
            return Refused(node.path, ENODEV);
        }
        if (::ioctl(fd, EVIOCGRAB, 1) != 0) {
            return Refused(node.path, errno);
        }
    }
    return {std::move(hold), {}, {}};
}

} // namespace treadkey::hidapi_platform
