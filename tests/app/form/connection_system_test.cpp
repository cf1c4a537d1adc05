#include "diagnosis/fake_system.h"
#include "form_fixture.h"

namespace treadkey::testing {
namespace {

// The window over system files laid out by the test, so that it can tell why the pedal does not open.
class ConnectionOnASystem : public FormTest {
protected:
    void SetUp() override {
        lookAtSystem = [this] { return system.system; };
        FormTest::SetUp();
    }

    FakeSystem system;
};

// Where the system's files show why, the tooltip and stderr give doctor's first cause instead.
TEST_F(ConnectionOnASystem, ARefusedPedalIsPutDownToTheFirstCauseDoctorFinds) {
    // A vendor-defined collection, as the configuration interface has.
    system.hidraw("hidraw1", "0003:2704:2018.0002", 2, {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0});
    system.node("hidraw1", 0600);
    backend.Plug({"pedal-locked", 0x2704, 0x2018, 9, false, {{0xFF00, 0x01}}});
    ::testing::internal::CaptureStderr();
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->toolTip,
              "无法打开踏板：pedal-locked（厂商自定义）没有访问权限：没有 udev 规则指名踏板，只有 root "
              "能打开 /dev/hidraw1；运行 treadkeyctl doctor 查看全部检查");
    Click(window->Command3);
    window->Timer1_Timer();
    const std::string english =
        "the pedal cannot be opened: pedal-locked (vendor-defined) does not open: "
        "permission denied on pedal-locked: no udev rule names the pedal, so only root "
        "may open /dev/hidraw1; run 'treadkeyctl doctor' for every check";
    EXPECT_EQ(window->Label3->toolTip, english);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "treadkey-setup: " + english + "\n");
}

} // namespace
} // namespace treadkey::testing
