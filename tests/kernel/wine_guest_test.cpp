// treadkeyctl.exe under Wine, over the Windows backend and Wine's hidraw bus, against a composite pedal
// plugged in through uhid: its frames must reach the configuration interface exactly as the Linux build
// sends them; and treadkey-setup.exe clicked on an X server in the guest. Runs as root in the test guest;
// wine-guest.sh hands it the programs and a prepared prefix.
#include "kernel/report_match.h"
#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace treadkey::kerneltest {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string g_program; // treadkeyctl.exe
std::string g_window;  // treadkey-setup.exe
std::string g_reader;  // window_reader.exe

struct Finished {
    int exitCode = -1;
    std::string out; // stdout and stderr
};

// Runs a shell command line, its streams merged.
Finished RunShell(const std::string& command) {
    Finished finished;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return finished;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        finished.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return finished;
}

Finished RunProgram(const std::string& arguments) {
    return RunShell("'" TREADKEY_WINE_RUN "' '" + g_program + "' " + arguments);
}

class WineOnKernel : public ::testing::Test {
protected:
    // Wine's HID bus scans the hidraw nodes when its services start: every interface is plugged in first, in
    // a real pedal's order. The services outlive the program that starts them, and hold its streams: started
    // here without any, they leave the later programs' pipes to close when those end.
    void SetUp() override {
        const auto started = std::chrono::steady_clock::now();
        ASSERT_EQ(
            RunShell(
                "wineserver -p </dev/null >/dev/null 2>&1 && wine cmd.exe /c exit </dev/null >/dev/null 2>&1")
                .exitCode,
            0);
        std::printf("Wine's services started in %.1f s\n",
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
    void TearDown() override { RunShell("wineserver -k"); }

    // Wine puts no USB node above a HID device, so only a serial number groups the interfaces of a pedal.
    static UhidIdentity WithSerial(UhidIdentity identity) {
        identity.serial = "WINE-PEDAL";
        return identity;
    }
    UhidPedal keyboard{WithSerial(PedalKeyboardIdentity())};
    UhidPedal mouse{WithSerial(PedalMouseIdentity())};
    UhidPedal pedal{WithSerial(PedalIdentity(VendorOutputDescriptor(8)))};
};

TEST_F(WineOnKernel, KeyApplyAndListReachTheVendorInterfaceAsOnLinux) {
    const Finished list = RunProgram("list");
    std::printf("treadkeyctl.exe list:\n%s", list.out.c_str());
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_THAT(list.out, HasSubstr("vendor-defined (FF00:0001); opens, output report length 9 bytes; the "
                                    "pedal's frames go here"));
    EXPECT_THAT(list.out, ::testing::StartsWith("pedal serial:WINE-PEDAL\n"));
    EXPECT_THAT(list.out, ::testing::Not(HasSubstr("\npedal ")));
    EXPECT_THAT(list.out, HasSubstr("keyboard (0001:0006)"));
    EXPECT_THAT(list.out, HasSubstr("mouse (0001:0002)"));

    const Finished key = RunProgram("key 3 ctrl+shift+a");
    EXPECT_EQ(key.exitCode, 0) << key.out;
    EXPECT_THAT(key.out, HasSubstr("wrote 3 reports to \\\\?\\hid#vid_2704&pid_2018"));
    EXPECT_TRUE(SameReports(pedal.outputReports(),
                            {Report({0xAA, 0x01, 0x08, 0x03, 0x04}), Report({0xAA, 0x01, 0x7C, 0x79, 0x01}),
                             Report({0xAA, 0x01, 0x78, 0x79, 0x01})}));

    // The same profile through both builds: the Windows one must send what the Linux one sends.
    const std::string profile = "/tmp/treadkey-wine-profile.json";
    ASSERT_EQ(RunShell("printf '%s' '{\"slots\": {\"1\": {\"key\": \"ctrl+shift+a\"}, \"2\": {\"mouse\": "
                       "\"left\"}, \"3\": null}, \"delay\": 300, \"single_output\": false, \"playback\": "
                       "\"loop\", \"auto_run\": true}' >" +
                       profile)
                  .exitCode,
              0);
    const std::size_t before = pedal.outputReports().size();
    const Finished linuxApply = RunShell("'" TREADKEYCTL_LINUX "' apply " + profile);
    ASSERT_EQ(linuxApply.exitCode, 0) << linuxApply.out;
    const std::vector<Bytes> afterLinux = pedal.outputReports();
    // Wine reaches the host's files through drive Z:.
    const Finished windowsApply = RunProgram("apply Z:" + profile);
    EXPECT_EQ(windowsApply.exitCode, 0) << windowsApply.out;
    const std::vector<Bytes> all = pedal.outputReports();
    ASSERT_GT(afterLinux.size(), before);
    const std::vector<Bytes> sentByLinux(afterLinux.begin() + static_cast<std::ptrdiff_t>(before),
                                         afterLinux.end());
    ASSERT_GE(all.size(), afterLinux.size());
    EXPECT_TRUE(SameReports(
        std::vector<Bytes>(all.begin() + static_cast<std::ptrdiff_t>(afterLinux.size()), all.end()),
        sentByLinux));

    EXPECT_THAT(FramesAmong(keyboard.outputReports()), IsEmpty());
    EXPECT_THAT(FramesAmong(mouse.outputReports()), IsEmpty());
}

// What the monitor says of an interface whose keystrokes Wine's Raw Input cannot tell from other keyboards'.
constexpr const char* kUnattributed =
    ": Windows' Raw Input does not tell its keystrokes and clicks from other keyboards' and mice's";

// The pedal types ctrl+shift+a and clicks once its keyboard and mouse have each been opened or refused: the
// monitor either shows a press or says, of both, why it cannot read them. Which one Wine allows is printed.
TEST_F(WineOnKernel, MonitorShowsThePedalsPressOrSaysWhyItCannotTellIt) {
    std::FILE* monitor = ::popen(
        ("'" TREADKEY_WINE_RUN "' '" + g_program + "' monitor --count 1 --timeout 15 2>&1").c_str(), "r");
    ASSERT_NE(monitor, nullptr);
    std::string out;
    int interfacesSaid = 0;
    int watched = 0;
    char line[4096];
    while (std::fgets(line, sizeof line, monitor) != nullptr) {
        out += line;
        const std::string text = line;
        const bool watching = text.find(": watching ") != std::string::npos;
        watched += watching ? 1 : 0;
        if (watching || text.find(kUnattributed) != std::string::npos) {
            if (++interfacesSaid == 2 && watched > 0) {
                keyboard.sendInput({0x03, 0, 0x04, 0, 0, 0, 0, 0});
                keyboard.sendInput({0, 0, 0, 0, 0, 0, 0, 0});
                mouse.sendInput({0x01, 0, 0});
                mouse.sendInput({0, 0, 0});
            }
        }
    }
    const int status = ::pclose(monitor);
    std::printf("treadkeyctl.exe monitor:\n%s", out.c_str());
    ASSERT_EQ(interfacesSaid, 2) << out;
    if (watched > 0) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
        EXPECT_THAT(out, ::testing::AnyOf(HasSubstr("press   ctrl+shift+a   < Ctrl + Shift + A >\n"),
                                          HasSubstr("press   mouse left\n")));
    } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << out;
        EXPECT_THAT(out, HasSubstr("nothing was pressed within 15 seconds"));
    }
}

// The window clicked as a user clicks it: the worked example's three frames reach the configuration interface
// alone. What Wine makes of the pedal's press while the window runs is printed, not judged: it is Wine's HID
// bus and Raw Input that decide it, not the program.
TEST_F(WineOnKernel, WindowsKeyClickReachesTheVendorInterfaceAlone) {
    // The script starts Wine's services again on its own X server: a desktop started without one would
    // refuse the window.
    RunShell("wineserver -k; wineserver -w");
    const std::string pressed = "/tmp/treadkey-wine-window-pressed";
    std::FILE* script = ::popen(
        ("'" TREADKEY_WINE_WINDOW_SCRIPT "' '" + g_window + "' '" + g_reader + "' " + pressed + " 2>&1")
            .c_str(),
        "r");
    ASSERT_NE(script, nullptr);
    std::string out;
    std::vector<Bytes> afterClick;
    char line[4096];
    while (std::fgets(line, sizeof line, script) != nullptr) {
        out += line;
        if (std::string(line) == "clicked\n") {
            afterClick = pedal.outputReports();
            keyboard.sendInput({0x03, 0, 0x04, 0, 0, 0, 0, 0});
            keyboard.sendInput({0, 0, 0, 0, 0, 0, 0, 0});
            RunShell("touch " + pressed);
        }
    }
    const int status = ::pclose(script);
    std::printf("treadkey-setup.exe:\n%s", out.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
    EXPECT_TRUE(SameReports(afterClick,
                            {Report({0xAA, 0x01, 0x08, 0x03, 0x04}), Report({0xAA, 0x01, 0x7C, 0x79, 0x01}),
                             Report({0xAA, 0x01, 0x78, 0x79, 0x01})}));
    EXPECT_THAT(FramesAmong(keyboard.outputReports()), IsEmpty());
    EXPECT_THAT(FramesAmong(mouse.outputReports()), IsEmpty());
}

} // namespace
} // namespace treadkey::kerneltest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: kernel_wine_tests TREADKEYCTL_EXE TREADKEY_SETUP_EXE WINDOW_READER_EXE "
                             "(WINEPREFIX set)\n");
        return 2;
    }
    treadkey::kerneltest::g_program = argv[1];
    treadkey::kerneltest::g_window = argv[2];
    treadkey::kerneltest::g_reader = argv[3];
    return RUN_ALL_TESTS();
}
