#pragma once

#include "stacks/hid_backend.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace treadkey::testing {

// An in-process HID stack for tests: interfaces can be plugged and unplugged at any moment, refuse to open,
// fail writes, and every open handle and written report is counted.
class FakeHidBackend : public HidBackend {
public:
    struct Interface {
        std::string path;
        std::uint16_t vendorId = 0x2704;
        std::uint16_t productId = 0x2018;
        std::optional<int> reportLength = 9;
        bool openable = true;
        std::vector<HidCollection> collections{};              // none: the stack cannot tell
        std::optional<std::vector<std::uint8_t>> descriptor{}; // none: cannot be read
        bool readable = true;                                  // a read-only open succeeds
        std::string pedal = "usb-1-1";                         // the pedal's identity; empty: cannot tell
        std::optional<OpenFailure> readRefusal{}; // a read-only open refused as a stack refuses it
    };
    struct Write {
        std::string path;
        std::vector<std::uint8_t> report;
    };

    void Plug(Interface interface) { state_->interfaces.push_back(std::move(interface)); }
    void Unplug(const std::string& path) {
        auto& list = state_->interfaces;
        list.erase(
            std::remove_if(list.begin(), list.end(), [&](const Interface& i) { return i.path == path; }),
            list.end());
    }
    // Queues an input report for every handle open on the path, as the system does.
    void Send(const std::string& path, std::vector<std::uint8_t> report) {
        for (Device* device : state_->devices) {
            if (device->path() == path) {
                device->queue().push_back(report);
            }
        }
    }
    void SetFailWrites(bool fail) { state_->failWrites = fail; }
    // Runs after every accepted or refused write, with the number of writes tried so far.
    void OnWrite(std::function<void(int)> hook) { state_->onWrite = std::move(hook); }

    int LiveHandles() const { return state_->liveHandles; }
    const std::vector<std::string>& OpenedPaths() const { return state_->openedPaths; }
    const std::vector<Write>& Writes() const { return state_->writes; }
    std::vector<std::vector<std::uint8_t>> Reports() const {
        std::vector<std::vector<std::uint8_t>> reports;
        for (const Write& w : state_->writes) {
            reports.push_back(w.report);
        }
        return reports;
    }
    void ClearWrites() { state_->writes.clear(); }

    std::vector<HidInterface> enumerate(std::uint16_t, std::uint16_t) override {
        std::vector<HidInterface> present;
        for (const Interface& i : state_->interfaces) {
            present.push_back({i.path, i.vendorId, i.productId, i.collections, i.pedal});
        }
        return present;
    }

    OpenResult open(const std::string& path) override {
        state_->openedPaths.push_back(path);
        const Interface* found = Find(*state_, path);
        if (found == nullptr) {
            return {nullptr, "no such device: " + path, OpenFailure::Gone};
        }
        if (!found->openable) {
            return {nullptr, "permission denied: " + path, OpenFailure::PermissionDenied};
        }
        return {std::make_unique<Device>(state_, path), {}};
    }

    OpenResult openReadOnly(const std::string& path) override {
        state_->readOpenedPaths.push_back(path);
        const Interface* found = Find(*state_, path);
        if (found == nullptr) {
            return {nullptr, "no such device: " + path, OpenFailure::Gone};
        }
        if (!found->readable) {
            return {nullptr, "permission denied: " + path, OpenFailure::PermissionDenied};
        }
        if (found->readRefusal) {
            return RefusedOpen(path, *found->readRefusal, {});
        }
        return {std::make_unique<Device>(state_, path, true), {}};
    }
    const std::vector<std::string>& ReadOpenedPaths() const { return state_->readOpenedPaths; }
    // Reads tried through any handle, each waiting up to the timeout it was given.
    const std::vector<int>& ReadTimeouts() const { return state_->readTimeouts; }

private:
    class Device;
    struct State {
        std::vector<Interface> interfaces;
        std::vector<Device*> devices;
        std::vector<std::string> readOpenedPaths;
        std::vector<int> readTimeouts;
        bool failWrites = false;
        std::function<void(int)> onWrite;
        int liveHandles = 0;
        int writesTried = 0;
        std::vector<std::string> openedPaths;
        std::vector<Write> writes;
    };

    static const Interface* Find(const State& state, const std::string& path) {
        for (const Interface& i : state.interfaces) {
            if (i.path == path) {
                return &i;
            }
        }
        return nullptr;
    }

    class Device : public HidDevice {
    public:
        Device(std::shared_ptr<State> state, std::string path, bool readOnly = false)
            : state_(std::move(state)), path_(std::move(path)), readOnly_(readOnly) {
            ++state_->liveHandles;
            state_->devices.push_back(this);
        }
        ~Device() override {
            --state_->liveHandles;
            auto& devices = state_->devices;
            devices.erase(std::remove(devices.begin(), devices.end(), this), devices.end());
        }
        Device(const Device&) = delete;
        Device& operator=(const Device&) = delete;

        const std::string& path() const { return path_; }
        std::deque<std::vector<std::uint8_t>>& queue() { return queue_; }

        // Never waits: the test drives time itself.
        int read(std::span<std::uint8_t> buffer, int timeoutMs) override {
            state_->readTimeouts.push_back(timeoutMs);
            if (Find(*state_, path_) == nullptr) {
                return -1;
            }
            if (queue_.empty()) {
                return 0;
            }
            const std::vector<std::uint8_t> report = std::move(queue_.front());
            queue_.pop_front();
            const std::size_t length = std::min(report.size(), buffer.size());
            std::copy_n(report.begin(), length, buffer.begin());
            return static_cast<int>(length);
        }

        std::optional<std::vector<std::uint8_t>> reportDescriptor() override {
            const Interface* i = Find(*state_, path_);
            return i != nullptr ? i->descriptor : std::nullopt;
        }

        std::optional<int> outputReportLength() override {
            const Interface* i = Find(*state_, path_);
            return i != nullptr ? i->reportLength : std::nullopt;
        }

        int write(std::span<const std::uint8_t> report) override {
            const bool accepted = Find(*state_, path_) != nullptr && !state_->failWrites && !readOnly_;
            if (accepted) {
                state_->writes.push_back({path_, {report.begin(), report.end()}});
            }
            const int tried = ++state_->writesTried;
            if (state_->onWrite) {
                state_->onWrite(tried);
            }
            return accepted ? static_cast<int>(report.size()) : -1;
        }

    private:
        std::shared_ptr<State> state_;
        std::string path_;
        bool readOnly_;
        std::deque<std::vector<std::uint8_t>> queue_;
    };

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace treadkey::testing
