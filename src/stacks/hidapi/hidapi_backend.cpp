#include "stacks/hidapi/hidapi_backend.h"
#include "stacks/platform_backend.h"

#include "hid/report_descriptor.h"
#include "stacks/hidapi/hidapi_platform.h"

#include <cerrno>
#include <mutex>
#include <utility>

namespace treadkey {
namespace {

// One user of hidapi's process-wide state: the first starts the library, the last stops it.
class HidapiUser {
public:
    HidapiUser() {
        const std::lock_guard lock(mutex_);
        if (users_++ == 0) {
            started_ = hid_init() == 0;
        }
    }
    ~HidapiUser() {
        const std::lock_guard lock(mutex_);
        if (--users_ == 0 && started_) {
            hid_exit();
            started_ = false;
        }
    }
    HidapiUser(const HidapiUser&) = delete;
    HidapiUser& operator=(const HidapiUser&) = delete;

    static bool started() {
        const std::lock_guard lock(mutex_);
        return started_;
    }

private:
    static inline std::mutex mutex_;
    static inline int users_ = 0;
    static inline bool started_ = false;
};

class HidapiDevice : public HidDevice {
public:
    HidapiDevice(hid_device* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    ~HidapiDevice() override { hid_close(handle_); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    std::optional<int> outputReportLength() override {
        const std::optional<std::vector<std::uint8_t>> descriptor =
            hidapi_platform::ReadReportDescriptor(handle_, path_);
        if (!descriptor) {
            return std::nullopt;
        }
        return OutputReportLengthFromDescriptor(*descriptor);
    }

    int write(std::span<const std::uint8_t> report) override {
        return hid_write(handle_, report.data(), report.size());
    }

    int read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        return hid_read_timeout(handle_, buffer.data(), buffer.size(), timeoutMs);
    }

    std::optional<std::vector<std::uint8_t>> reportDescriptor() override {
        return hidapi_platform::ReadReportDescriptor(handle_, path_);
    }

private:
    HidapiUser user_; // keeps the library up while the device is open, even past its backend
    hid_device* handle_;
    std::string path_;
};

class HidapiBackend : public HidBackend {
public:
    std::vector<HidInterface> enumerate(std::uint16_t wantedVendorId,
                                        std::uint16_t wantedProductId) override {
        std::vector<HidInterface> interfaces;
        hid_device_info* const list = hid_enumerate(wantedVendorId, wantedProductId);
        for (const hid_device_info* info = list; info != nullptr; info = info->next) {
            // hidapi lists an interface once for each of its top-level collections, one after the other.
            const std::string path = info->path != nullptr ? info->path : "";
            if (interfaces.empty() || interfaces.back().path != path) {
                interfaces.push_back({path, info->vendor_id, info->product_id, {}});
            }
            interfaces.back().collections.push_back({info->usage_page, info->usage});
        }
        hid_free_enumeration(list);
        for (HidInterface& interface : interfaces) {
            if (interface.vendorId == wantedVendorId && interface.productId == wantedProductId) {
                interface.collections =
                    hidapi_platform::TopLevelCollections(interface.path, std::move(interface.collections));
                interface.pedal = hidapi_platform::PedalIdentity(interface.path);
            }
        }
        return interfaces;
    }

    OpenResult open(const std::string& path) override {
        if (!HidapiUser::started()) {
            return RefusedOpen(path, OpenFailure::StackFailed, {});
        }
        errno = 0;
        hid_device* const handle = hid_open_path(path.c_str());
        if (handle == nullptr) {
            return hidapi_platform::RefusedWithErrno(path, errno);
        }
        return {std::make_unique<HidapiDevice>(handle, path), ""};
    }

    OpenResult openReadOnly(const std::string& path) override { return hidapi_platform::OpenReadOnly(path); }

    HoldResult holdInput(const std::string& path) override { return hidapi_platform::HoldInput(path); }

private:
    HidapiUser user_;
};

} // namespace

std::unique_ptr<HidBackend> MakeHidapiBackend() {
    return std::make_unique<HidapiBackend>();
}

std::unique_ptr<HidBackend> MakePlatformBackend() {
    return MakeHidapiBackend();
}

} // namespace treadkey
