#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct uhid_event;

namespace treadkey::kerneltest {

using Bytes = std::vector<std::uint8_t>;

// What the kernel is told about a virtual HID device.
struct UhidIdentity {
    std::string name;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    Bytes reportDescriptor;
    // The pedal this interface belongs to: its physical path (each device adds "/inputN", as the interfaces
    // of a USB device do) and its serial number (none when empty), which every interface of a pedal shares.
    std::string phys = "treadkey-kerneltest";
    std::string serial = {};
};

// A USB HID device that lives in the kernel through /dev/uhid, so that hid core, hid-generic and hidraw treat
// it like a plugged-in pedal. The constructor creates it and returns once its hidraw node is usable; failures
// throw std::runtime_error, misuse std::logic_error. A reader thread drains uhid's event queue (32 events)
// for as long as the device exists, so that no output report is dropped however fast they come. GET_REPORT
// and SET_REPORT are answered with an error, as the pedal supports neither.
class UhidPedal {
public:
    explicit UhidPedal(UhidIdentity identity);
    ~UhidPedal();
    UhidPedal(const UhidPedal&) = delete;
    UhidPedal& operator=(const UhidPedal&) = delete;

    // Unplugs the device: its hidraw node goes away, open handles to it stop working.
    void destroy();
    // Plugs it in again after destroy(), with nothing recorded yet; the hidraw node may have another number.
    void create();

    // Sends one input report (report id first when the descriptor numbers its reports), as a key press or a
    // button does: the kernel hands it to every open reader of the hidraw node and to its input handling.
    void sendInput(const Bytes& report);

    // "/dev/hidrawN" of the device as it is now.
    const std::string& hidrawPath() const { return hidrawPath_; }

    // Every output report the kernel delivered since create(), each exactly as written, in order. Every write
    // that has returned is in: uhid queues a report before the write returns, and this waits until the reader
    // has handled all that is queued.
    std::vector<Bytes> outputReports();
    // How often the device has been opened so far (the first opener of its hidraw node opens it).
    int openCount();

private:
    // Returns, holding the lock, once every event the kernel has queued so far is handled.
    std::unique_lock<std::mutex> caughtUp();
    void waitUntilPlugged();
    void readEvents();
    bool writeEvent(const uhid_event& event);
    // Destroys the device, if any, and releases what create() took; leaves no reader running.
    void unplug() noexcept;

    UhidIdentity identity_;
    std::string phys_; // tells this device apart in sysfs from others with the same ids
    int uhidFd_ = -1;
    int stopFd_ = -1;
    std::thread reader_;
    std::string hidrawPath_;

    std::mutex mutex_;
    std::condition_variable changed_;
    bool started_ = false;
    bool readerIdle_ = false; // waiting for events, all earlier ones handled
    std::string readerError_;
    int openCount_ = 0;
    std::vector<Bytes> outputReports_;
};

} // namespace treadkey::kerneltest
