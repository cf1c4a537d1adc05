// Raw Input for the whole process: one thread with a message-only window, registered for every keyboard and
// mouse, hands each event to the readers of the device it came from.
#include "stacks/windows/raw_input_reader.h"

#include "stacks/windows/raw_input_names.h"
#include "stacks/windows/windows_hid_records.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace treadkey::windows_hid {
namespace {

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr USHORT kKeyboardUsage = 0x06;
constexpr UINT kRawInputFailed = static_cast<UINT>(-1);
// Asks the hub's thread to take every event the system has handed over so far; wParam is the ticket.
constexpr UINT kCatchUpMessage = WM_APP + 1;
// Long enough for a busy thread to answer, short enough that a stuck one holds no keystroke for long.
constexpr auto kCatchUpLimit = std::chrono::milliseconds(50);
// Reports beyond these, unread, push out the oldest, as the system's own HID queue does.
constexpr std::size_t kQueuedReportLimit = 512;

// Device names are ASCII; anything else would match no SetupAPI path anyway.
std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text != L'\0'; ++text) {
        narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return narrow;
}

// The name of a Raw Input device; empty when it has none (input that a program made up has no device).
std::string DeviceName(HANDLE device) {
    UINT length = 0; // in characters
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, nullptr, &length) != 0 || length == 0) {
        return {};
    }
    std::vector<wchar_t> name(length + 1, L'\0');
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, name.data(), &length) == kRawInputFailed) {
        return {};
    }
    return Narrow(name.data());
}

std::vector<std::string> ListedDeviceNames() {
    UINT count = 0;
    if (GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)) == kRawInputFailed) {
        return {};
    }
    std::vector<RAWINPUTDEVICELIST> devices(count);
    count = GetRawInputDeviceList(devices.data(), &count, sizeof(RAWINPUTDEVICELIST));
    if (count == kRawInputFailed) {
        return {};
    }
    std::vector<std::string> names;
    for (UINT i = 0; i < count; ++i) {
        names.push_back(DeviceName(devices[i].hDevice));
    }
    return names;
}

// Wine hands every keyboard's keystrokes over as coming from one keyboard, and every mouse's clicks from one
// mouse, whichever device it lists under their handles: the first HID keyboard and mouse it found, the
// pedal's when no other is plugged in.
bool RawInputMergesDevices() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// One reader's reports, rebuilt from its device's events and kept until read.
class ReportQueue {
public:
    ReportQueue(std::string deviceName, RawInputKind kind)
        : deviceName_(std::move(deviceName)), kind_(kind) {}

    bool Wants(const std::string& deviceName, RawInputKind kind) const {
        return kind == kind_ && deviceName == deviceName_;
    }

    void TakeKey(USHORT makeCode, USHORT flags) {
        std::lock_guard lock(mutex_);
        if (const std::optional<BootKeyboardReport> report = keyboard_.Apply(makeCode, flags)) {
            Push({report->begin(), report->end()});
        }
    }

    void TakeMouse(const RawMouseEvent& event) {
        std::lock_guard lock(mutex_);
        const BootMouseReport report = mouse_.Apply(event);
        Push({report.begin(), report.end()});
    }

    bool Empty() {
        std::lock_guard lock(mutex_);
        return reports_.empty();
    }

    void Fail() {
        std::lock_guard lock(mutex_);
        failed_ = true;
        arrived_.notify_all();
    }

    int Read(std::span<std::uint8_t> buffer, int timeoutMs) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                          [this] { return !reports_.empty() || failed_; });
        if (reports_.empty()) {
            return failed_ ? -1 : 0;
        }
        const std::vector<std::uint8_t> report = std::move(reports_.front());
        reports_.pop_front();
        const std::size_t length = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), length, buffer.begin());
        return static_cast<int>(length);
    }

private:
    void Push(std::vector<std::uint8_t> report) {
        if (reports_.size() == kQueuedReportLimit) {
            reports_.pop_front();
        }
        reports_.push_back(std::move(report));
        arrived_.notify_all();
    }

    const std::string deviceName_;
    const RawInputKind kind_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::vector<std::uint8_t>> reports_;
    BootKeyboardState keyboard_;
    BootMouseState mouse_;
    bool failed_ = false;
};

// The process's one registration for keyboards and mice, and the thread that receives their events. Started
// on first use and kept for the rest of the process, which ends the thread with it.
class RawInputHub {
public:
    static RawInputHub& Get() {
        static RawInputHub* const hub = new RawInputHub;
        return *hub;
    }

    // The Win32 error that kept the thread from starting; 0 when it runs.
    DWORD StartFailure() const { return startFailure_; }

    void Add(ReportQueue* queue) {
        std::lock_guard lock(mutex_);
        if (stopped_) {
            queue->Fail();
        }
        queues_.push_back(queue);
    }

    void Remove(ReportQueue* queue) {
        std::lock_guard lock(mutex_);
        std::erase(queues_, queue);
    }

    // Returns once the hub's thread has taken every event the system handed it before the call. The window's
    // keystroke arrives on another thread than the pedal's event that caused it, and would otherwise be
    // judged before that event is read.
    void CatchUp() {
        std::unique_lock lock(catchUpMutex_);
        const WPARAM ticket = ++catchUpAsked_;
        if (window_ == nullptr || !PostMessageW(window_, kCatchUpMessage, ticket, 0)) {
            return;
        }
        caughtUp_.wait_for(lock, kCatchUpLimit, [&] { return catchUpDone_ >= ticket; });
    }

private:
    RawInputHub() {
        std::promise<DWORD> started;
        std::future<DWORD> failure = started.get_future();
        std::thread([this, &started] { Run(started); }).detach();
        startFailure_ = failure.get();
    }

    // Sets `started` once the window is registered for input, or with why it could not be; touches it no
    // more.
    void Run(std::promise<DWORD>& started) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = L"TreadkeyRawInput";
        const HWND window = RegisterClassExW(&windowClass) != 0
                                ? CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0,
                                                  HWND_MESSAGE, nullptr, instance, nullptr)
                                : nullptr;
        if (window == nullptr) {
            started.set_value(GetLastError());
            return;
        }
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        // Sinks: the events come whichever window has the focus, as the pedal is pressed in another program.
        const RAWINPUTDEVICE devices[] = {
            {kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, window},
            {kGenericDesktopPage, kMouseUsage, RIDEV_INPUTSINK, window},
        };
        if (!RegisterRawInputDevices(devices, std::size(devices), sizeof(RAWINPUTDEVICE))) {
            started.set_value(GetLastError());
            return;
        }
        window_ = window;
        started.set_value(0);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        std::lock_guard lock(mutex_);
        stopped_ = true;
        for (ReportQueue* queue : queues_) {
            queue->Fail();
        }
    }

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* const hub = reinterpret_cast<RawInputHub*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (hub != nullptr && message == WM_INPUT) {
            hub->Take(reinterpret_cast<HRAWINPUT>(lParam));
        }
        if (hub != nullptr && message == kCatchUpMessage) {
            hub->TakePendingInput(window, wParam);
            return 0;
        }
        // Lets the system free the input's data.
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Take(HRAWINPUT handle) {
        RAWINPUT input{};
        UINT size = sizeof input;
        // Registered for keyboards and mice alone, whose events fit.
        if (GetRawInputData(handle, RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER)) == kRawInputFailed ||
            (input.header.dwType != RIM_TYPEKEYBOARD && input.header.dwType != RIM_TYPEMOUSE)) {
            return;
        }
        const std::string& name = NameOf(input.header.hDevice);
        const RawInputKind kind =
            input.header.dwType == RIM_TYPEKEYBOARD ? RawInputKind::Keyboard : RawInputKind::Mouse;
        std::lock_guard lock(mutex_);
        for (ReportQueue* queue : queues_) {
            if (!queue->Wants(name, kind)) {
                continue;
            }
            if (kind == RawInputKind::Keyboard) {
                queue->TakeKey(input.data.keyboard.MakeCode, input.data.keyboard.Flags);
            } else {
                const RAWMOUSE& mouse = input.data.mouse;
                queue->TakeMouse(
                    {mouse.usFlags, mouse.usButtonFlags, mouse.usButtonData, mouse.lLastX, mouse.lLastY});
            }
        }
    }

    // Input may wait behind posted messages in the queue, so it is taken here before the ticket is answered.
    void TakePendingInput(HWND window, WPARAM ticket) {
        MSG pending;
        while (PeekMessageW(&pending, window, WM_INPUT, WM_INPUT, PM_REMOVE)) {
            DispatchMessageW(&pending);
        }
        std::lock_guard lock(catchUpMutex_);
        catchUpDone_ = std::max(catchUpDone_, ticket);
        caughtUp_.notify_all();
    }

    // Only the hub's thread asks, so the cache needs no lock.
    const std::string& NameOf(HANDLE device) {
        auto known = names_.find(device);
        if (known == names_.end()) {
            known = names_.emplace(device, DeviceName(device)).first;
        }
        return known->second;
    }

    DWORD startFailure_ = 0;
    HWND window_ = nullptr; // set before the start is answered, then only read
    std::mutex catchUpMutex_;
    std::condition_variable caughtUp_;
    WPARAM catchUpAsked_ = 0;
    WPARAM catchUpDone_ = 0;
    std::mutex mutex_;
    std::vector<ReportQueue*> queues_;
    bool stopped_ = false;
    std::unordered_map<HANDLE, std::string> names_;
};

class RawInputDevice : public HidDevice {
public:
    RawInputDevice(RawInputHub& hub, std::string deviceName, RawInputKind kind)
        : hub_(hub), queue_(std::move(deviceName), kind) {
        hub_.Add(&queue_);
    }
    ~RawInputDevice() override { hub_.Remove(&queue_); }
    RawInputDevice(const RawInputDevice&) = delete;
    RawInputDevice& operator=(const RawInputDevice&) = delete;

    std::optional<int> outputReportLength() override { return std::nullopt; }
    int write(std::span<const std::uint8_t>) override { return -1; }
    int read(std::span<std::uint8_t> buffer, int timeoutMs) override {
        // A read that must answer at once says "nothing" only once the hub has nothing more to hand over.
        if (timeoutMs <= 0 && queue_.Empty()) {
            hub_.CatchUp();
        }
        return queue_.Read(buffer, timeoutMs);
    }
    // The reports are the boot protocol's, whatever the collection's own descriptor says.
    std::optional<std::vector<std::uint8_t>> reportDescriptor() override { return std::nullopt; }

private:
    RawInputHub& hub_;
    ReportQueue queue_;
};

} // namespace

OpenResult OpenRawInputReader(const std::string& path, RawInputKind kind) {
    const std::optional<std::string> name = RawInputNameOf(path, ListedDeviceNames());
    if (!name || RawInputMergesDevices()) {
        return RefusedOpen(path, OpenFailure::Unattributed, {});
    }
    return ReadRawInputDevice(path, *name, kind);
}

OpenResult ReadRawInputDevice(const std::string& path, const std::string& deviceName, RawInputKind kind) {
    RawInputHub& hub = RawInputHub::Get();
    if (const DWORD failure = hub.StartFailure(); failure != 0) {
        return RefusedOpen(path, OpenFailure::Unknown, WindowsError(failure));
    }
    return {std::make_unique<RawInputDevice>(hub, deviceName, kind), ""};
}

} // namespace treadkey::windows_hid
