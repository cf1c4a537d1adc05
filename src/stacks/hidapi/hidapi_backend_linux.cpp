// The Linux side of the hidapi backend (hidraw). Other platforms replace this file.
#include "stacks/hidapi/hidapi_platform.h"

#include "hid/report_descriptor.h"
#include "stacks/pedal_identity.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <utility>

namespace treadkey::hidapi_platform {

namespace {

// hidapi 0.13 has no call for the descriptor and keeps its file descriptor to itself, which rules out
// HIDIOCGRDESC; sysfs offers the same bytes under the node's name, without opening the node.
std::optional<std::vector<std::uint8_t>> ReadSysfsDescriptor(const std::string& path) {
    const std::filesystem::path node = std::filesystem::path(path).filename();
    std::ifstream file("/sys/class/hidraw" / node / "device/report_descriptor", std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> descriptor((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
    if (file.bad()) {
        return std::nullopt;
    }
    return descriptor;
}

// A hidraw node opened read-only and non-blocking: each read() takes one whole report, and poll() on the
// descriptor waits for the next.
class HidrawReader : public HidDevice {
public:
    HidrawReader(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~HidrawReader() override { ::close(fd_); }
    HidrawReader(const HidrawReader&) = delete;
    HidrawReader& operator=(const HidrawReader&) = delete;

    std::optional<int> outputReportLength() override {
        const std::optional<std::vector<std::uint8_t>> descriptor = ReadSysfsDescriptor(path_);
        return descriptor ? OutputReportLengthFromDescriptor(*descriptor) : std::nullopt;
    }

    int write(std::span<const std::uint8_t>) override { return -1; }

    int read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        if (timeoutMs > 0) {
            pollfd waiting{fd_, POLLIN, 0};
            int ready = 0;
            do {
                ready = ::poll(&waiting, 1, timeoutMs);
            } while (ready < 0 && errno == EINTR);
            if (ready == 0) {
                return 0;
            }
        }
        ssize_t length = 0;
        do {
            length = ::read(fd_, buffer.data(), buffer.size());
        } while (length < 0 && errno == EINTR);
        if (length > 0) {
            return static_cast<int>(length);
        }
        // A node whose device is gone answers EIO, never EAGAIN.
        return length < 0 && errno == EAGAIN ? 0 : -1;
    }

    std::optional<std::vector<std::uint8_t>> reportDescriptor() override {
        return ReadSysfsDescriptor(path_);
    }

    int pollDescriptor() const override { return fd_; }

private:
    int fd_;
    std::string path_;
};

OpenFailure ClassifyOpenFailure(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return OpenFailure::PermissionDenied;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return OpenFailure::Gone;
    case ENOTTY:
        return OpenFailure::NotHid;
    default:
        return OpenFailure::Unknown;
    }
}

} // namespace

std::string PedalIdentity(const std::string& path) {
    // The HID device the node belongs to: its uevent names the serial and the physical path, and where it
    // stands in the device tree names the USB port.
    const std::filesystem::path device =
        std::filesystem::path("/sys/class/hidraw") / std::filesystem::path(path).filename() / "device";
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(device, error);
    std::ifstream file(device / "uevent");
    std::ostringstream uevent;
    uevent << file.rdbuf();
    return SysfsPedalIdentity(uevent.str(), error ? std::string() : resolved.string());
}

OpenResult OpenReadOnly(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return RefusedWithErrno(path, errno);
    }
    return {std::make_unique<HidrawReader>(fd, path), ""};
}

std::optional<std::vector<std::uint8_t>> ReadReportDescriptor(hid_device*, const std::string& path) {
    return ReadSysfsDescriptor(path);
}

std::vector<HidCollection> TopLevelCollections(const std::string& path,
                                               std::vector<HidCollection> listedByHidapi) {
    // hidapi lists nested collections too (a mouse's Physical pointer beside the mouse); the descriptor
    // tells which are top-level.
    const std::optional<std::vector<std::uint8_t>> descriptor = ReadSysfsDescriptor(path);
    if (!descriptor) {
        return listedByHidapi;
    }
    std::vector<HidCollection> collections = TopLevelCollectionsFromDescriptor(*descriptor);
    return collections.empty() ? listedByHidapi : collections;
}

OpenResult RefusedWithErrno(const std::string& path, int error) {
    return RefusedOpen(path, ClassifyOpenFailure(error), std::error_code(error, std::generic_category()));
}

} // namespace treadkey::hidapi_platform
