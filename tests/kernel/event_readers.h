#pragma once

#include "kernel/uhid_pedal.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/input.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace treadkey::kerneltest {

// A reader, without a grab, of every event node whose HID parent is one of the devices: what the display
// server would get of them.
class EventReaders {
public:
    explicit EventReaders(std::initializer_list<const UhidPedal*> devices) {
        namespace fs = std::filesystem;
        for (const UhidPedal* device : devices) {
            const fs::path hidraw = fs::path("/sys/class/hidraw") / fs::path(device->hidrawPath()).filename();
            for (const auto& input : fs::directory_iterator(hidraw / "device/input")) {
                for (const auto& handler : fs::directory_iterator(input.path())) {
                    const std::string name = handler.path().filename().string();
                    if (name.starts_with("event")) {
                        fds_.push_back(
                            ::open(("/dev/input/" + name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
                        EXPECT_GE(fds_.back(), 0) << name;
                    }
                }
            }
        }
    }
    ~EventReaders() {
        for (const int fd : fds_) {
            ::close(fd);
        }
    }
    EventReaders(const EventReaders&) = delete;
    EventReaders& operator=(const EventReaders&) = delete;

    std::size_t NodeCount() const { return fds_.size(); }
    // The key and button events that reached these readers since the last call.
    int TakeKeyEvents() {
        int keys = 0;
        for (const int fd : fds_) {
            for (input_event event{};
                 ::read(fd, &event, sizeof event) == static_cast<ssize_t>(sizeof event);) {
                keys += event.type == EV_KEY ? 1 : 0;
            }
        }
        return keys;
    }

private:
    std::vector<int> fds_;
};

} // namespace treadkey::kerneltest
