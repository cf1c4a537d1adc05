// The window, offscreen, over the hidapi backend and the kernel's own HID stack, with pedals plugged in
// through uhid: discovery, every command byte for byte as the pedal receives it, unplugging and plugging in,
// and a user who may not open the pedal. Runs as root in the test guest that run-guest.sh boots.
#include "app/form/control_table.h"
#include "app/qt_window.h"
#include "app/window_fixture.h"
#include "kernel/report_match.h"
#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"
#include "stacks/hidapi/hidapi_backend.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace treadkey::kerneltest {
namespace {

using ::testing::HasSubstr;
using treadkey::testing::RecordingUi;

const QString kConnected = QStringLiteral("USB设备联接成功");
const QString kNotConnected = QStringLiteral("USB设备联接失败!");
const QString kWriteFailed = QStringLiteral("写入失败，请先联接。");

// A pedal command as the window composes it ("AA 01 ..."), as a report of `length` bytes: report id 0
// first, zeros after the command.
Bytes Report(const std::string& command, int length) {
    Bytes report{0x00};
    std::istringstream digits(command);
    for (unsigned byte = 0; digits >> std::hex >> byte;) {
        report.push_back(static_cast<std::uint8_t>(byte));
    }
    report.resize(static_cast<std::size_t>(length), 0x00);
    return report;
}

// The three reports of the worked example: slot 3, left Ctrl and left Shift, "A", no delay, single output
// off.
std::vector<Bytes> WorkedKeyExample(int length) {
    return {Report("AA 01 08 03 04 00 00", length), Report("AA 01 7C 79 01 00 00", length),
            Report("AA 01 78 79 01 00 00", length)};
}

// The worked example's clicks; the key click sends it. The toggles stay on.
void AssignCtrlShiftAToSlot3(QtWindow& window) {
    window.Find<QComboBox>("Combo1")->setEditText(QStringLiteral("3"));
    window.Find<QPushButton>("Command_ctrl")->click();
    window.Find<QPushButton>("Command_shift")->click();
    window.Find<QPushButton>(KeyButtonName(50))->click();
}

int OpenFileDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// The window after start-up over the real HID stack, its timer stopped so that each test ticks by hand.
class WindowOnKernel : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QtWindow>(*backend, ui);
        window->Form().Form_Load();
        window->Timer1->stop();
    }

    QPushButton* Key(int index) { return window->Find<QPushButton>(KeyButtonName(index)); }

    QString LastLogLine() const {
        const int rows = window->Find<QListWidget>("lstResults")->count();
        if (rows == 0) {
            return {};
        }
        const QString line = window->Find<QListWidget>("lstResults")->item(rows - 1)->text();
        return line.mid(line.indexOf(QStringLiteral("]: ")) + 3);
    }

    // Names each write control that is enabled; empty when all are disabled.
    std::vector<std::string> EnabledWriteControls() const {
        std::vector<std::string> enabled;
        for (int index = 0; index < treadkey::kKeyButtonCount; ++index) {
            if (window->Find<QPushButton>(treadkey::KeyButtonName(index))->isEnabled()) {
                enabled.push_back(treadkey::KeyButtonName(index));
            }
        }
        for (const std::string_view name : kWriteButtonsAfterKeys) {
            const QString objectName = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
            if (window->findChild<QWidget*>(objectName)->isEnabled()) {
                enabled.emplace_back(name);
            }
        }
        return enabled;
    }

    // Declared before the window, which holds handles opened through it.
    std::unique_ptr<HidBackend> backend = MakeHidapiBackend();
    RecordingUi ui;
    std::unique_ptr<QtWindow> window;
};

struct DescriptorCase {
    const char* name;
    Bytes descriptor;
    int reportLength;
};

void PrintTo(const DescriptorCase& tested, std::ostream* out) {
    *out << tested.name;
}

class CommandsOnKernel : public WindowOnKernel, public ::testing::WithParamInterface<DescriptorCase> {};

// Each command from the window's controls, with the reports the pedal must receive for it (commands as the
// window composes them; report id and zero fill are added per descriptor).
struct CommandCase {
    const char* name;
    std::function<void(QtWindow&)> act;
    std::vector<std::string> commands;
};

std::vector<std::string> ClearAllCommands() {
    std::vector<std::string> commands;
    for (int address = 0x00; address <= 0x7C; address += 4) {
        char command[32];
        std::snprintf(command, sizeof command, "AA 01 %02X FF FF FF FF", address);
        commands.emplace_back(command);
    }
    return commands;
}

TEST_P(CommandsOnKernel, ArriveByteForByteAtTheDeclaredReportLength) {
    UhidPedal pedal(PedalIdentity(GetParam().descriptor));
    const int length = GetParam().reportLength;
    window->Form().Timer1_Timer();
    ASSERT_EQ(window->Find<QLabel>("Label3")->text(), kConnected);
    EXPECT_EQ(window->Form().Link().DevicePathName, pedal.hidrawPath());
    ASSERT_EQ(window->Form().Link().OutputReportByteLength, length);

    const std::vector<CommandCase> cases = {
        {"worked key example",
         [](QtWindow& w) {
             AssignCtrlShiftAToSlot3(w);
             w.Find<QPushButton>("Command_ctrl")->click(); // back off for the cases below
             w.Find<QPushButton>("Command_shift")->click();
         },
         {"AA 01 08 03 04 00 00", "AA 01 7C 79 01 00 00", "AA 01 78 79 01 00 00"}},
        {"right mouse button to slot 2",
         [](QtWindow& w) {
             w.Find<QComboBox>("Combo1")->setEditText(QStringLiteral("2"));
             w.Find<QPushButton>("Command_R_btn")->click();
         },
         {"AA 02 04 FE 02 00 00"}},
        {"auto-run on, single and loop playback, auto-run off, single playback",
         [](QtWindow& w) {
             w.Find<QPushButton>("Command_auto_run")->click();
             w.Find<QRadioButton>("Option1")->click();
             w.Find<QRadioButton>("Option2")->click();
             w.Find<QPushButton>("Command_auto_run")->click();
             w.Find<QRadioButton>("Option1")->click();
         },
         {"AA 01 7C 79 01 00 00", "AA 01 7C 79 00 00 00", "AA 01 7C 79 01 00 00", "AA 01 7C 00 01 00 00",
          "AA 01 7C 00 00 00 00"}},
        {"key delay 300, single output on",
         [](QtWindow& w) {
             w.Find<QLineEdit>("Text_delay")->setText(QStringLiteral("300"));
             w.Find<QCheckBox>("Check_once")->setChecked(true);
             w.Find<QPushButton>("Command2")->click();
         },
         {"AA 01 7C 79 01 01 2C", "AA 01 78 79 01 01 00"}},
        {"key delay 65535, single output off",
         [](QtWindow& w) {
             w.Find<QLineEdit>("Text_delay")->setText(QStringLiteral("65535"));
             w.Find<QCheckBox>("Check_once")->setChecked(false);
             w.Find<QPushButton>("Command2")->click();
         },
         {"AA 01 7C 79 01 FF FF", "AA 01 78 79 01 00 00"}},
        {"clear all", [](QtWindow& w) { w.Find<QPushButton>("Command1")->click(); }, ClearAllCommands()},
        {"raw write",
         [](QtWindow& w) {
             w.Find<QLineEdit>("TextIW")->setText(QStringLiteral("AA 03 12 34 56 78 9A"));
             w.Find<QPushButton>("Iwrite")->click();
         },
         {"AA 03 12 34 56 78 9A"}},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = pedal.outputReports().size();
        c.act(*window);
        const std::vector<Bytes> all = pedal.outputReports();
        const std::vector<Bytes> delivered(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
        std::vector<Bytes> expected;
        for (const std::string& command : c.commands) {
            expected.push_back(Report(command, length));
        }
        EXPECT_TRUE(SameReports(delivered, expected));
        EXPECT_NE(LastLogLine(), kWriteFailed);
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, CommandsOnKernel,
    ::testing::Values(DescriptorCase{"Vendor8BytesNoReportIds", VendorOutputDescriptor(8), 9},
                      DescriptorCase{"Vendor64Bytes", VendorOutputDescriptor(64), 65},
                      DescriptorCase{"LongestOfNumberedOutputs", NumberedReportsDescriptor(), 17}),
    [](const ::testing::TestParamInfo<DescriptorCase>& tested) { return std::string(tested.param.name); });

TEST_F(WindowOnKernel, NeverOpensDevicesWithOtherIdsPluggedInBeforeThePedal) {
    // One id lower each: the enumeration, sorted by sysfs path and so by ids, lists them before the pedal.
    UhidPedal otherProduct(
        {"decoy, other product", kPedalVendorId, kPedalProductId - 1, VendorOutputDescriptor(8)});
    UhidPedal otherVendor(
        {"decoy, other vendor", kPedalVendorId - 1, kPedalProductId, VendorOutputDescriptor(8)});
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    std::vector<std::string> everyInterface;
    for (const HidInterface& found : MakeHidapiBackend()->enumerate(0, 0)) {
        everyInterface.push_back(found.path);
    }
    ASSERT_THAT(everyInterface, ::testing::ElementsAre(::testing::_, ::testing::_, pedal.hidrawPath()))
        << "discovery must walk past both decoys to reach the pedal";

    for (int tick = 0; tick < 3; ++tick) {
        window->Form().Timer1_Timer();
    }
    EXPECT_EQ(window->Find<QLabel>("Label3")->text(), kConnected);
    EXPECT_EQ(window->Form().Link().DevicePathName, pedal.hidrawPath());
    AssignCtrlShiftAToSlot3(*window);
    EXPECT_TRUE(SameReports(pedal.outputReports(), WorkedKeyExample(9)));
    for (UhidPedal* decoy : {&otherProduct, &otherVendor}) {
        SCOPED_TRACE(decoy->hidrawPath());
        EXPECT_EQ(decoy->openCount(), 0);
        EXPECT_TRUE(decoy->outputReports().empty());
    }
}

TEST_F(WindowOnKernel, UsesTheFirstOfTwoPedalInterfacesInEnumerationOrder) {
    // Different report lengths tell which one discovery took.
    UhidPedal wide(PedalIdentity(VendorOutputDescriptor(64), "treadkey test pedal, 64 bytes"));
    UhidPedal narrow(PedalIdentity(VendorOutputDescriptor(8), "treadkey test pedal, 8 bytes"));
    std::vector<std::string> listed;
    for (const HidInterface& found : MakeHidapiBackend()->enumerate(kPedalVendorId, kPedalProductId)) {
        if (found.vendorId == kPedalVendorId && found.productId == kPedalProductId) {
            listed.push_back(found.path);
        }
    }
    ASSERT_THAT(listed, ::testing::UnorderedElementsAre(wide.hidrawPath(), narrow.hidrawPath()));
    UhidPedal& first = listed.front() == wide.hidrawPath() ? wide : narrow;
    UhidPedal& second = &first == &wide ? narrow : wide;

    for (int tick = 0; tick < 3; ++tick) {
        window->Form().Timer1_Timer();
        EXPECT_EQ(window->Form().Link().DevicePathName, first.hidrawPath()) << "tick " << tick;
    }
    EXPECT_EQ(window->Form().Link().OutputReportByteLength, &first == &wide ? 65 : 9);
    window->Find<QLineEdit>("TextIW")->setText(QStringLiteral("AA 03 00 00 00 00 00"));
    window->Find<QPushButton>("Iwrite")->click();
    EXPECT_TRUE(
        SameReports(first.outputReports(), {Report("AA 03", window->Form().Link().OutputReportByteLength)}));
    EXPECT_TRUE(second.outputReports().empty());
}

TEST_F(WindowOnKernel, WithAPedalChosenWritesToItAloneAndWaitsForItWhenGone) {
    UhidIdentity withSerial = PedalIdentity(VendorOutputDescriptor(8));
    withSerial.phys = "usb-treadkey-window-a";
    withSerial.serial = "WINDOW-A";
    UhidIdentity withoutSerial = PedalIdentity(VendorOutputDescriptor(8));
    withoutSerial.phys = "usb-treadkey-window-b";
    UhidPedal a(withSerial);
    UhidPedal b(withoutSerial);
    for (UhidPedal* chosen : {&a, &b}) {
        UhidPedal& other = chosen == &a ? b : a;
        const std::size_t otherHad = other.outputReports().size();
        window->Form().ChoosePedal(chosen == &a ? "serial:WINDOW-A" : "usb-treadkey-window-b");
        window->Form().Timer1_Timer();
        EXPECT_EQ(window->Form().Link().DevicePathName, chosen->hidrawPath());
        window->Find<QLineEdit>("TextIW")->setText(QStringLiteral("AA 03 00 00 00 00 00"));
        window->Find<QPushButton>("Iwrite")->click();
        EXPECT_TRUE(SameReports(chosen->outputReports(), {Report("AA 03", 9)}));
        EXPECT_EQ(other.outputReports().size(), otherHad);
    }
    b.destroy();
    window->Form().Timer1_Timer();
    EXPECT_EQ(window->Find<QLabel>("Label3")->text(), kNotConnected);
    EXPECT_THAT(window->Find<QLabel>("Label3")->toolTip().toStdString(),
                ::testing::HasSubstr("usb-treadkey-window-b"));
    EXPECT_FALSE(window->Form().SendCommandText()); // rediscovers, and finds the chosen pedal absent
    EXPECT_EQ(a.outputReports().size(), 1u);        // never written in its place
}

// Paths of the interfaces with the pedal's ids, in enumeration order.
std::vector<std::string> PedalInterfacePaths() {
    std::vector<std::string> paths;
    for (const HidInterface& found : MakeHidapiBackend()->enumerate(kPedalVendorId, kPedalProductId)) {
        if (found.vendorId == kPedalVendorId && found.productId == kPedalProductId) {
            paths.push_back(found.path);
        }
    }
    return paths;
}

// A composite pedal plugged in in a real pedal's order: keyboard, mouse, then (in each test) the
// configuration interface.
class CompositeOnKernel : public WindowOnKernel, public ::testing::WithParamInterface<KeyboardShape> {
protected:
    UhidPedal keyboard{GetParam().identity};
    UhidPedal mouse{PedalMouseIdentity()};
};

TEST_P(CompositeOnKernel, WritesThroughTheVendorInterfaceAloneAndFollowsAReplug) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    ASSERT_THAT(PedalInterfacePaths(),
                ::testing::ElementsAre(keyboard.hidrawPath(), mouse.hidrawPath(), pedal.hidrawPath()))
        << "the keyboard interface must enumerate first, as on a real pedal";

    window->Form().Timer1_Timer();
    ASSERT_EQ(window->Find<QLabel>("Label3")->text(), kConnected);
    EXPECT_EQ(window->Form().Link().DevicePathName, pedal.hidrawPath());
    // A keyboard that opens is named with why it was passed over.
    const std::string passedOver = keyboard.hidrawPath() +
                                   "（键盘、多媒体控制）的输出报告只有 2 字节，放不下一帧；帧发往 " +
                                   pedal.hidrawPath();
    EXPECT_EQ(window->Find<QLabel>("Label3")->toolTip().toStdString(),
              GetParam().reportId.empty() ? "" : passedOver);

    AssignCtrlShiftAToSlot3(*window);
    window->Find<QPushButton>("Command_ctrl")->click();
    window->Find<QPushButton>("Command_shift")->click();
    window->Find<QComboBox>("Combo1")->setEditText(QStringLiteral("2"));
    window->Find<QPushButton>("Command_R_btn")->click();
    window->Find<QPushButton>("Command1")->click();
    std::vector<Bytes> expected = WorkedKeyExample(9);
    expected.push_back(Report("AA 02 04 FE 02 00 00", 9));
    for (const std::string& command : ClearAllCommands()) {
        expected.push_back(Report(command, 9));
    }
    EXPECT_TRUE(SameReports(pedal.outputReports(), expected));
    EXPECT_THAT(FramesAmong(keyboard.outputReports()), ::testing::IsEmpty());
    EXPECT_THAT(FramesAmong(mouse.outputReports()), ::testing::IsEmpty());

    for (UhidPedal* node : {&pedal, &mouse, &keyboard}) {
        node->destroy();
    }
    window->Form().Timer1_Timer();
    EXPECT_EQ(window->Find<QLabel>("Label3")->text(), kNotConnected);
    EXPECT_THAT(EnabledWriteControls(), ::testing::IsEmpty());
    for (UhidPedal* node : {&keyboard, &mouse, &pedal}) {
        node->create();
    }
    window->Form().Timer1_Timer();
    ASSERT_EQ(window->Find<QLabel>("Label3")->text(), kConnected);
    EXPECT_EQ(window->Form().Link().DevicePathName, pedal.hidrawPath());
    AssignCtrlShiftAToSlot3(*window);
    EXPECT_TRUE(SameReports(pedal.outputReports(), WorkedKeyExample(9)));
    EXPECT_THAT(FramesAmong(keyboard.outputReports()), ::testing::IsEmpty());
    EXPECT_THAT(FramesAmong(mouse.outputReports()), ::testing::IsEmpty());
}

TEST_P(CompositeOnKernel, LogsEachPressInBothLanguagesAndFollowsAReplug) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    window->Form().Timer1_Timer(); // opens a reader on the keyboard and the mouse
    const int rows = window->Find<QListWidget>("lstResults")->count();
    const auto pressKey = [&](Bytes down) {
        keyboard.sendInput(GetParam().Input(down));
        keyboard.sendInput(GetParam().Input(Bytes(down.size(), 0)));
    };
    const auto click = [&](std::uint8_t buttons) {
        mouse.sendInput({buttons, 0, 0});
        mouse.sendInput(Bytes(3, 0));
    };
    pressKey({0x03, 0, 0x04, 0, 0, 0, 0, 0});
    for (const Bytes& report : GetParam().mediaKeyInput) {
        keyboard.sendInput(report);
    }
    click(0x01);
    window->Form().Timer1_Timer();
    ASSERT_EQ(window->Find<QListWidget>("lstResults")->count(), rows + 2)
        << "one line a press, none for the releases nor for a media key";
    EXPECT_TRUE(window->Find<QListWidget>("lstResults")
                    ->item(rows)
                    ->text()
                    .endsWith(QStringLiteral("踏板输出:  < Ctrl + Shift + A >")));
    EXPECT_EQ(LastLogLine(), QStringLiteral("踏板输出:  < 左键单击 >"));

    for (UhidPedal* node : {&pedal, &mouse, &keyboard}) {
        node->destroy();
    }
    window->Form().Timer1_Timer();
    for (UhidPedal* node : {&keyboard, &mouse, &pedal}) {
        node->create();
    }
    window->Form().Timer1_Timer(); // the new nodes are opened; what they send from now on arrives
    window->Find<QPushButton>("Command3")->click();
    click(0x02);
    pressKey({0x10, 0, 0x3A, 0, 0, 0, 0, 0});
    window->Form().Timer1_Timer();
    ASSERT_EQ(window->Find<QListWidget>("lstResults")->count(), rows + 4);
    EXPECT_TRUE(window->Find<QListWidget>("lstResults")
                    ->item(rows + 2)
                    ->text()
                    .endsWith(QStringLiteral("Pedal Sent:  < Ctrl_R + F1 >")));
    EXPECT_EQ(LastLogLine(), QStringLiteral("Pedal Sent:  < R BTN Click >"));
    // Reading wrote nothing to any of the three.
    EXPECT_THAT(FramesAmong(keyboard.outputReports()), ::testing::IsEmpty());
    EXPECT_THAT(pedal.outputReports(), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Keyboards, CompositeOnKernel, ::testing::ValuesIn(KeyboardShapes()),
                         [](const ::testing::TestParamInfo<KeyboardShape>& shape) {
                             return std::string(shape.param.name);
                         });

TEST_F(WindowOnKernel, APedalWithOnlyKeyboardAndMouseIsNotConnectedAndSaysWhy) {
    UhidPedal keyboard(PedalKeyboardIdentity());
    UhidPedal mouse(PedalMouseIdentity());
    window->Form().Timer1_Timer();
    window->Form().Timer1_Timer();
    EXPECT_EQ(window->Find<QLabel>("Label3")->text(), kNotConnected);
    EXPECT_THAT(EnabledWriteControls(), ::testing::IsEmpty());
    const std::string chinese = window->Find<QLabel>("Label3")->toolTip().toStdString();
    EXPECT_THAT(chinese, HasSubstr("未找到踏板的配置接口"));
    EXPECT_THAT(chinese, HasSubstr(keyboard.hidrawPath() + "（键盘）由系统独占"));
    EXPECT_THAT(chinese, HasSubstr(mouse.hidrawPath() + "（鼠标）由系统独占"));
    window->Find<QPushButton>("Command3")->click();
    window->Form().Timer1_Timer();
    EXPECT_THAT(
        window->Find<QLabel>("Label3")->toolTip().toStdString(),
        HasSubstr("no configuration interface of the pedal: " + keyboard.hidrawPath() + " (keyboard)"));
    EXPECT_THAT(FramesAmong(keyboard.outputReports()), ::testing::IsEmpty());
}

TEST_F(WindowOnKernel, FollowsThePedalBeingUnpluggedAndPluggedInAgain) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    window->Form().Timer1_Timer();
    ASSERT_EQ(window->Find<QLabel>("Label3")->text(), kConnected);

    pedal.destroy();
    // Before the next tick the window still holds the old handle: the write fails and is logged as such.
    AssignCtrlShiftAToSlot3(*window);
    EXPECT_EQ(LastLogLine(), kWriteFailed);

    window->Form().Timer1_Timer();
    EXPECT_EQ(window->Find<QLabel>("Label3")->text(), kNotConnected);
    EXPECT_THAT(EnabledWriteControls(), ::testing::IsEmpty());
    window->Form().Command_key_Click(
        50); // a click that still gets through tries to reconnect once, then fails
    EXPECT_EQ(LastLogLine(), kWriteFailed);
    EXPECT_TRUE(ui.messages.isEmpty()) << "a failed write must not raise a message box";

    pedal.create();
    window->Form().Timer1_Timer();
    EXPECT_EQ(window->Find<QLabel>("Label3")->text(), kConnected);
    EXPECT_EQ(window->Form().Link().DevicePathName, pedal.hidrawPath());
    EXPECT_TRUE(Key(50)->isEnabled());
    EXPECT_TRUE(window->Find<QPushButton>("Iwrite")->isEnabled());
    // The toggles kept their state through the unplugging: the same assignment once more.
    Key(50)->click();
    EXPECT_TRUE(SameReports(pedal.outputReports(), WorkedKeyExample(9)));
    EXPECT_NE(LastLogLine(), kWriteFailed);
}

TEST_F(WindowOnKernel, KeepsItsFileDescriptorCountOverAThousandTicks) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    window->Form().Timer1_Timer();
    ASSERT_EQ(window->Find<QLabel>("Label3")->text(), kConnected);
    const int afterFirstTick = OpenFileDescriptors();
    for (int tick = 1; tick < 1000; ++tick) {
        window->Form().Timer1_Timer();
    }
    EXPECT_EQ(OpenFileDescriptors(), afterFirstTick);
    EXPECT_EQ(window->Find<QLabel>("Label3")->text(), kConnected);
}

// What a program run under another user id printed, and how it ended.
struct ChildRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `program` as nobody with a home of its own, collecting its stdout and stderr.
ChildRun RunAsNobody(const std::filesystem::path& program, const std::filesystem::path& home) {
    constexpr uid_t kNobody = 65534;
    const std::string homeText = home.string();
    const std::string programText = program.string();
    // Built before fork: the child may only make async-signal-safe calls until exec.
    const std::vector<std::string> environment = {"PATH=/usr/bin:/bin",          "LANG=C.UTF-8",
                                                  "QT_QPA_PLATFORM=offscreen",   "HOME=" + homeText,
                                                  "XDG_RUNTIME_DIR=" + homeText, "XDG_CACHE_HOME=" + homeText,
                                                  "XDG_CONFIG_HOME=" + homeText, "XDG_DATA_HOME=" + homeText};
    std::vector<char*> envp;
    for (const std::string& entry : environment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);

    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe2 failed";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::dup2(out[1], STDOUT_FILENO) < 0 || ::dup2(err[1], STDERR_FILENO) < 0 ||
            ::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 ||
            ::setuid(0) == 0) {
            ::_exit(126);
        }
        ::execle(programText.c_str(), programText.c_str(), static_cast<char*>(nullptr), envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    ChildRun run;
    if (child < 0) {
        ADD_FAILURE() << "fork failed";
        ::close(out[0]);
        ::close(err[0]);
        return run;
    }
    // Both pipes at once, so that a child filling one while the other is read cannot stall.
    pollfd pipes[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0 && ::poll(pipes, 2, -1) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (pipes[i].fd < 0 || pipes[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t got = ::read(pipes[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                ::close(pipes[i].fd);
                pipes[i].fd = -1;
                --open;
            }
        }
    }
    ::waitpid(child, &run.status, 0);
    return run;
}

// The value of a "name=value" line.
std::string Field(const std::string& text, const std::string& name) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(name + "=", 0) == 0) {
            return line.substr(name.size() + 1);
        }
    }
    return "<no " + name + " line>";
}

TEST(WindowWithoutPermission, ShowsThePedalAsNotConnectedAndSaysWhyOnce) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    ASSERT_EQ(::chown(pedal.hidrawPath().c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(pedal.hidrawPath().c_str(), 0600), 0);
    // The build tree may lie where nobody cannot enter; the program goes into nobody's own home.
    char homeTemplate[] = "/tmp/treadkey-nobody-XXXXXX";
    ASSERT_NE(::mkdtemp(homeTemplate), nullptr);
    const std::filesystem::path home = homeTemplate;
    const std::filesystem::path program = home / "locked_pedal_window";
    std::filesystem::copy_file(TREADKEY_LOCKED_PEDAL_WINDOW, program);
    ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(home.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);

    const ChildRun run = RunAsNobody(program, home);
    std::filesystem::remove_all(home);

    ASSERT_TRUE(WIFEXITED(run.status)) << "the window died, status " << run.status << "\n" << run.err;
    ASSERT_EQ(WEXITSTATUS(run.status), 0) << "126: could not drop privileges, 127: could not run\n"
                                          << run.err;
    EXPECT_EQ(Field(run.out, "listed"), pedal.hidrawPath()) << "the pedal must be seen, only not opened";
    EXPECT_EQ(Field(run.out, "detected"), "0");
    EXPECT_EQ(Field(run.out, "status"), kNotConnected.toStdString());
    EXPECT_THAT(Field(run.out, "tooltip"), HasSubstr("没有访问权限")); // the window speaks Chinese
    EXPECT_EQ(Field(run.out, "write_controls_enabled"), "0");
    int reasonLines = 0;
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("treadkey-setup:") != std::string::npos &&
            line.find("permission") != std::string::npos) {
            ++reasonLines;
        }
    }
    EXPECT_EQ(reasonLines, 1) << "stderr of the window:\n" << run.err;
}

} // namespace
} // namespace treadkey::kerneltest
