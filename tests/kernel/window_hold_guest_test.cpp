// The window's hold on the pedal's input event nodes, on the kernel's own HID and input stack: while the
// window is active another reader of those nodes (as the display server is) gets none of the pedal's keys
// and clicks, while the window still logs them from hidraw; deactivated, closed or killed, the window lets
// go; a keyboard with other ids is never held. Runs as root in the test guest that run-guest.sh boots.
#include "app/usb_window.h"
#include "app/window_fixture.h"
#include "device/hidapi_backend.h"
#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace treadkey::kerneltest {
namespace {

using treadkey::testing::RecordingUi;

// A reader of every event node whose HID parent is one of the devices, opened without any grab.
class EventReaders {
public:
    explicit EventReaders(const std::vector<UhidPedal*>& devices) {
        namespace fs = std::filesystem;
        for (const UhidPedal* device : devices) {
            const fs::path inputs =
                fs::path("/sys/class/hidraw") / fs::path(device->hidrawPath()).filename() / "device/input";
            for (const auto& input : fs::directory_iterator(inputs)) {
                for (const auto& handler : fs::directory_iterator(input.path())) {
                    const std::string name = handler.path().filename().string();
                    if (name.rfind("event", 0) == 0) {
                        const int fd =
                            ::open(("/dev/input/" + name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                        EXPECT_GE(fd, 0) << name;
                        fds_.push_back(fd);
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
            input_event event{};
            while (::read(fd, &event, sizeof event) == static_cast<ssize_t>(sizeof event)) {
                keys += event.type == EV_KEY ? 1 : 0;
            }
        }
        return keys;
    }

private:
    std::vector<int> fds_;
};

// What PressAll sends through the pedal: Ctrl, Shift and A down and up, the left button down and up.
constexpr int kPedalKeyEvents = 8;

void Activate(QWidget* target) {
    target->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(target));
}

class PedalHoldOnKernel : public ::testing::Test {
protected:
    void SetUp() override {
        window->Form_Load();
        window->Timer1->stop();
    }
    void PressAll() {
        keyboard.sendInput({0x03, 0, 0x04, 0, 0, 0, 0, 0});
        keyboard.sendInput(Bytes(8, 0));
        mouse.sendInput({0x01, 0, 0});
        mouse.sendInput(Bytes(3, 0));
        decoy.sendInput({0, 0, 0x05, 0, 0, 0, 0, 0});
        decoy.sendInput(Bytes(8, 0));
    }

    // The computer's keyboard, with other ids, enumerated first.
    UhidPedal decoy{{"decoy keyboard, other ids", 0x046D, 0xC31C, BootKeyboardDescriptor()}};
    UhidPedal keyboard{PedalKeyboardIdentity()};
    UhidPedal mouse{PedalMouseIdentity()};
    UhidPedal pedal{PedalIdentity(VendorOutputDescriptor(8))};
    std::unique_ptr<HidBackend> backend = MakeHidapiBackend();
    RecordingUi ui;
    std::unique_ptr<USB> window = std::make_unique<USB>(*backend, ui);
};

TEST_F(PedalHoldOnKernel, WhileActiveOnlyThePedalsNodesAreHeldAndItsPressesAreStillLogged) {
    EventReaders pedalNodes({&keyboard, &mouse});
    EventReaders decoyNodes({&decoy});
    ASSERT_GE(pedalNodes.NodeCount(), 2U);
    Activate(window.get());
    window->Timer1_Timer();
    ASSERT_EQ(window->Hold().HeldCount(), 2U);
    EXPECT_TRUE(window->Hold().Unheld().empty());
    const int rows = window->lstResults->count();
    PressAll();
    EXPECT_EQ(pedalNodes.TakeKeyEvents(), 0);
    EXPECT_EQ(decoyNodes.TakeKeyEvents(), 2);
    window->Timer1_Timer();
    EXPECT_EQ(window->lstResults->count(), rows + 2) << "the presses came through hidraw";

    QWidget otherWindow;
    otherWindow.show();
    Activate(&otherWindow);
    PressAll();
    EXPECT_EQ(pedalNodes.TakeKeyEvents(), kPedalKeyEvents) << "deactivated";
    EXPECT_EQ(decoyNodes.TakeKeyEvents(), 2);

    Activate(window.get());
    for (UhidPedal* node : {&pedal, &mouse, &keyboard}) {
        node->destroy();
    }
    for (UhidPedal* node : {&keyboard, &mouse, &pedal}) {
        node->create();
    }
    window->Timer1_Timer();
    EventReaders replugged({&keyboard, &mouse});
    PressAll();
    EXPECT_EQ(replugged.TakeKeyEvents(), 0) << "the replug is held within the tick";
    EXPECT_EQ(decoyNodes.TakeKeyEvents(), 2);

    window->close();
    PressAll();
    EXPECT_EQ(replugged.TakeKeyEvents(), kPedalKeyEvents) << "closed";
}

TEST_F(PedalHoldOnKernel, AWindowKilledWhileItHoldsLeavesTheNodesFree) {
    window.reset(); // the window under test runs in a process of its own
    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::dup2(out[1], STDOUT_FILENO) < 0) {
            ::_exit(126);
        }
        ::execl(TREADKEY_HOLDING_WINDOW, TREADKEY_HOLDING_WINDOW, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    ASSERT_GT(child, 0);
    std::string said;
    pollfd waiting{out[0], POLLIN, 0};
    char buffer[256];
    while (said.find('\n') == std::string::npos && ::poll(&waiting, 1, 30000) > 0) {
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        said.append(buffer, static_cast<std::size_t>(got));
    }
    EventReaders pedalNodes({&keyboard, &mouse});
    PressAll();
    const int whileHeld = pedalNodes.TakeKeyEvents();
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(out[0]);
    EXPECT_EQ(said, "held=2\n");
    EXPECT_EQ(whileHeld, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    PressAll();
    EXPECT_EQ(pedalNodes.TakeKeyEvents(), kPedalKeyEvents);
}

} // namespace
} // namespace treadkey::kerneltest
