// The window's hold on the pedal's input event nodes, on the kernel's own HID and input stack: while the
// window is active another reader of those nodes (as the display server is) gets none of the pedal's keys
// and clicks, while the window still logs them from hidraw; deactivated, closed or killed, the window lets
// go; a keyboard with other ids is never held. Runs as root in the test guest that run-guest.sh boots.
#include "app/qt_window.h"
#include "app/window_fixture.h"
#include "kernel/event_readers.h"
#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"
#include "stacks/hidapi/hidapi_backend.h"

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace treadkey::kerneltest {
namespace {

using treadkey::testing::Activate;

// What PressAll sends through the pedal: Ctrl, Shift and A down and up, the left button down and up; and
// through the decoy: one key down and up.
constexpr int kPedalKeyEvents = 8;
constexpr int kDecoyKeyEvents = 2;

class PedalHoldOnKernel : public ::testing::Test {
protected:
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
};

TEST_F(PedalHoldOnKernel, WhileActiveOnlyThePedalsNodesAreHeldAndItsPressesAreStillLogged) {
    const std::unique_ptr<HidBackend> backend = MakeHidapiBackend();
    treadkey::testing::RecordingUi ui;
    QtWindow window(*backend, ui);
    window.Form().Form_Load();
    window.Timer1->stop();
    EventReaders pedalNodes({&keyboard, &mouse});
    EventReaders decoyNodes({&decoy});
    ASSERT_GE(pedalNodes.NodeCount(), 2U);
    Activate(&window);
    window.Form().Timer1_Timer();
    ASSERT_EQ(window.Form().Hold().HeldCount(), 2U);
    const int rows = window.Find<QListWidget>("lstResults")->count();
    PressAll();
    EXPECT_EQ(pedalNodes.TakeKeyEvents(), 0);
    window.Form().Timer1_Timer();
    EXPECT_EQ(window.Find<QListWidget>("lstResults")->count(), rows + 2) << "the presses came through hidraw";

    QWidget otherWindow;
    otherWindow.show();
    Activate(&otherWindow);
    PressAll();
    EXPECT_EQ(pedalNodes.TakeKeyEvents(), kPedalKeyEvents) << "deactivated";

    Activate(&window);
    for (UhidPedal* node : {&pedal, &mouse, &keyboard}) {
        node->destroy();
    }
    for (UhidPedal* node : {&keyboard, &mouse, &pedal}) {
        node->create();
    }
    window.Form().Timer1_Timer();
    EventReaders replugged({&keyboard, &mouse});
    PressAll();
    EXPECT_EQ(replugged.TakeKeyEvents(), 0) << "the replug is held within the tick";

    window.close();
    PressAll();
    EXPECT_EQ(replugged.TakeKeyEvents(), kPedalKeyEvents) << "closed";
    EXPECT_EQ(decoyNodes.TakeKeyEvents(), 4 * kDecoyKeyEvents) << "the decoy is never held";
}

TEST_F(PedalHoldOnKernel, AWindowKilledWhileItHoldsLeavesTheNodesFree) {
    // The window runs in a process of its own, which says "held=N pid=P" once it holds the pedal.
    std::FILE* child = ::popen("exec " TREADKEY_HOLDING_WINDOW, "r");
    ASSERT_NE(child, nullptr);
    char said[64] = {};
    int held = 0;
    pid_t pid = 0;
    const bool heard = std::fgets(said, sizeof said, child) != nullptr &&
                       std::sscanf(said, "held=%d pid=%d", &held, &pid) == 2;
    EventReaders pedalNodes({&keyboard, &mouse});
    PressAll();
    const int whileHeld = pedalNodes.TakeKeyEvents();
    if (heard) {
        ::kill(pid, SIGKILL);
    }
    const int status = ::pclose(child);
    ASSERT_TRUE(heard) << said;
    EXPECT_EQ(held, 2);
    EXPECT_EQ(whileHeld, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    PressAll();
    EXPECT_EQ(pedalNodes.TakeKeyEvents(), kPedalKeyEvents);
}

} // namespace
} // namespace treadkey::kerneltest
