// treadkeyctl over the hidapi backend and the kernel's own HID stack, against a composite pedal plugged in
// through uhid: its frames reach the configuration interface alone. Runs as root in the test guest.
#include "fixtures/cli_in_process.h"
#include "kernel/opened_here.h"
#include "kernel/remembering_pedal.h"
#include "kernel/report_match.h"
#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

namespace treadkey::kerneltest {
namespace {

using testing::CliOutcome;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

void WaitUntilOpenedHere(const std::vector<std::string>& nodes) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (const std::string& node : nodes) {
        while (!OpenedHere(node) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
}

// What list says of the keyboard interface after its path.
std::string ListedAs(const KeyboardShape& shape, const std::string& pedalPath) {
    if (shape.reportId.empty()) {
        return "keyboard (0001:0006); opens, output report length 2 bytes; passed over";
    }
    return "keyboard (0001:0006), consumer control (000C:0001); opens, output report length 2 bytes; "
           "not used: its output report of 2 bytes cannot hold a frame; the frames go to " +
           pedalPath;
}

// What every key command says of the settings it leaves behind.
const std::string kKeyNote =
    "treadkeyctl: note: the key delay frame leaves the pedal with auto-run on and loop "
    "playback, as the window's keys do; --key-only writes the key alone\n";

class CliOnKernel : public ::testing::TestWithParam<KeyboardShape> {
protected:
    // Plugged in in a real pedal's order: keyboard, mouse, then the configuration interface.
    UhidPedal keyboard{GetParam().identity};
    UhidPedal mouse{PedalMouseIdentity()};
};

TEST_P(CliOnKernel, KeyMouseAndApplyReachTheVendorInterfaceOfACompositePedalAlone) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));

    const CliOutcome key = testing::RunCliInProcess({"key", "3", "ctrl+shift+a"});
    EXPECT_EQ(key.exitCode, 0) << key.err;
    EXPECT_EQ(key.out, "wrote 3 reports to " + pedal.hidrawPath() + "\n");
    EXPECT_EQ(key.err, kKeyNote);
    const CliOutcome click = testing::RunCliInProcess({"mouse", "2", "right"});
    EXPECT_EQ(click.exitCode, 0) << click.err;
    EXPECT_TRUE(
        SameReports(pedal.outputReports(),
                    {Report({0xAA, 0x01, 0x08, 0x03, 0x04}), Report({0xAA, 0x01, 0x7C, 0x79, 0x01}),
                     Report({0xAA, 0x01, 0x78, 0x79, 0x01}), Report({0xAA, 0x02, 0x04, 0xFE, 0x02})}));

    const std::filesystem::path profile =
        std::filesystem::temp_directory_path() / ("treadkey-profile-" + std::to_string(::getpid()) + ".json");
    std::ofstream(profile) << R"({"slots": {"1": {"key": "ctrl+shift+a"}, "2": {"mouse": "left"}, "3": null},
                                 "delay": 300, "single_output": false, "playback": "loop", "auto_run": true})";
    const CliOutcome apply = testing::RunCliInProcess({"apply", profile.string()});
    std::filesystem::remove(profile);
    EXPECT_EQ(apply.exitCode, 0) << apply.err;
    const std::vector<Bytes> all = pedal.outputReports();
    ASSERT_GE(all.size(), 4u);
    EXPECT_TRUE(SameReports(std::vector<Bytes>(all.begin() + 4, all.end()),
                            {Report({0xAA, 0x01, 0x00, 0x03, 0x04}), Report({0xAA, 0x02, 0x04, 0xFE, 0x01}),
                             Report({0xAA, 0x01, 0x08, 0xFF, 0xFF, 0xFF, 0xFF}),
                             Report({0xAA, 0x01, 0x7C, 0x79, 0x01, 0x01, 0x2C}),
                             Report({0xAA, 0x01, 0x78, 0x79, 0x01})}));
    EXPECT_THAT(FramesAmong(keyboard.outputReports()), IsEmpty());
    EXPECT_THAT(FramesAmong(mouse.outputReports()), IsEmpty());

    const CliOutcome list = testing::RunCliInProcess({"list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_THAT(list.out, HasSubstr(keyboard.hidrawPath() + ": " + ListedAs(GetParam(), pedal.hidrawPath())));
    EXPECT_THAT(list.out, HasSubstr(mouse.hidrawPath() + ": mouse (0001:0002); opens, output report length 0 "
                                                         "bytes; passed over"));
    EXPECT_THAT(list.out, HasSubstr(pedal.hidrawPath() + ": vendor-defined (FF00:0001); opens, output report "
                                                         "length 9 bytes; the pedal's frames go here"));
}

TEST_P(CliOnKernel, MonitorPrintsExactlyTheFourEventsSentAndLosesNothingAfterAReplug) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    std::thread presser([&] {
        WaitUntilOpenedHere({keyboard.hidrawPath(), mouse.hidrawPath()});
        keyboard.sendInput(GetParam().Input({0x03, 0, 0x04, 0, 0, 0, 0, 0}));
        keyboard.sendInput(GetParam().Input(Bytes(8, 0)));
        // Unplugged and plugged in again between the key and the click: the new nodes are watched in turn.
        keyboard.destroy();
        mouse.destroy();
        keyboard.create();
        mouse.create();
        WaitUntilOpenedHere({keyboard.hidrawPath(), mouse.hidrawPath()});
        mouse.sendInput({0x02, 0, 0});
        mouse.sendInput(Bytes(3, 0));
    });
    const CliOutcome monitor = testing::RunCliInProcess({"monitor", "--count", "4", "--timeout", "30"});
    presser.join();
    EXPECT_EQ(monitor.exitCode, 0) << monitor.err;
    EXPECT_EQ(monitor.out, "press   ctrl+shift+a   < Ctrl + Shift + A >\n"
                           "release ctrl+shift+a   < Ctrl + Shift + A >\n"
                           "press   mouse right\n"
                           "release mouse right\n");
    EXPECT_THAT(monitor.err, HasSubstr("watching " + keyboard.hidrawPath() + ": keyboard (0001:0006)"));
    // Whether both went before the first came back depends on when the monitor looked; each going is said.
    EXPECT_THAT(monitor.err, HasSubstr(" is gone\n"));
    // Read only: nothing reached any interface, the configuration one included.
    EXPECT_THAT(FramesAmong(keyboard.outputReports()), IsEmpty());
    EXPECT_THAT(pedal.outputReports(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Keyboards, CliOnKernel, ::testing::ValuesIn(KeyboardShapes()),
                         [](const ::testing::TestParamInfo<KeyboardShape>& shape) {
                             return std::string(shape.param.name);
                         });

TEST(CliOnKernelAlone, AKeyboardWithMediaKeysAndAMouseTakeTheFramesOnTheShortReportWithTheWarning) {
    UhidPedal keyboard(PedalMixedKeyboardIdentity());
    UhidPedal mouse(PedalMouseIdentity());
    const CliOutcome key = testing::RunCliInProcess({"key", "3", "ctrl+shift+a"});
    EXPECT_EQ(key.exitCode, 0) << key.err;
    EXPECT_EQ(key.out, "wrote 3 reports to " + keyboard.hidrawPath() + "\n");
    EXPECT_EQ(key.err,
              "treadkeyctl: warning: " + keyboard.hidrawPath() +
                  ": its output report of 2 bytes cannot hold a whole frame (8 bytes): this may not be "
                  "the pedal's configuration interface\n" +
                  kKeyNote);
    EXPECT_EQ(FramesAmong(keyboard.outputReports()), std::vector<Bytes>(3, Bytes{0x00, 0xAA}));
    EXPECT_THAT(FramesAmong(mouse.outputReports()), IsEmpty());
}

TEST(CliOnKernelAlone, APedalWithOnlyKeyboardAndMouseTakesNothingAndListSaysWhy) {
    UhidPedal keyboard(PedalKeyboardIdentity());
    UhidPedal mouse(PedalMouseIdentity());
    const CliOutcome key = testing::RunCliInProcess({"key", "3", "a"});
    EXPECT_EQ(key.exitCode, 1);
    EXPECT_THAT(key.err, HasSubstr("no configuration interface of the pedal: " + keyboard.hidrawPath()));
    const CliOutcome list = testing::RunCliInProcess({"list", "--json"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_THAT(list.out, HasSubstr("\"frames_go_to\": null"));
    EXPECT_THAT(list.out,
                HasSubstr("\"path\": \"" + mouse.hidrawPath() +
                          "\", \"collections\": [{\"usage_page\": 1, \"usage\": 2, \"name\": \"mouse\"}]"));
    EXPECT_THAT(FramesAmong(keyboard.outputReports()), IsEmpty());
}

// Twins: the same ids, one with a serial and one without, on different ports.
class TwinsOnKernel : public ::testing::Test {
protected:
    struct Twin : CompositePedal {
        using CompositePedal::CompositePedal;
        void unplug() {
            vendor.destroy();
            mouse.destroy();
            keyboard.destroy();
        }
        void plug() {
            keyboard.create();
            mouse.create();
            vendor.create();
        }
        // The reports that reached any of its interfaces.
        std::size_t received() { return keyboard.outputReports().size() + vendor.outputReports().size(); }
    };

    // What list says of one pedal: its line and its interfaces' lines, up to the next pedal's.
    static std::string Section(const std::string& list, const std::string& pedal) {
        const std::size_t start = list.find("pedal " + pedal + "\n");
        if (start == std::string::npos) {
            return "";
        }
        const std::size_t end = list.find("\npedal ", start);
        return list.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }

    void ExpectListedApart() {
        const CliOutcome list = testing::RunCliInProcess({"list"});
        EXPECT_EQ(list.exitCode, 0) << list.err;
        for (Twin* twin : {&a, &b}) {
            const std::string section = Section(list.out, twin == &a ? kA : kB);
            EXPECT_THAT(section, HasSubstr("  " + twin->vendor.hidrawPath() + ": vendor-defined"))
                << list.out;
            EXPECT_THAT(section, HasSubstr("  " + twin->keyboard.hidrawPath() + ": keyboard")) << list.out;
            EXPECT_THAT(section, ::testing::Not(HasSubstr((twin == &a ? b : a).vendor.hidrawPath() + ":")));
        }
    }

    void ExpectKeyReachesOnly(Twin& target, Twin& other, const std::string& pedal) {
        const std::size_t before = other.received();
        const CliOutcome key =
            testing::RunCliInProcess({"--pedal", pedal, "key", "--key-only", "3", "ctrl+shift+a"});
        EXPECT_EQ(key.exitCode, 0) << key.err;
        EXPECT_EQ(key.out, "wrote 1 report to " + target.vendor.hidrawPath() + "\n");
        EXPECT_TRUE(SameReports(target.vendor.outputReports(), {Report({0xAA, 0x01, 0x08, 0x03, 0x04})}));
        EXPECT_EQ(other.received(), before);
    }

    const std::string kA = "serial:TWIN-A";
    const std::string kB = "usb-treadkey-twin-b";
    Twin a{"usb-treadkey-twin-a", "TWIN-A"};
    Twin b{"usb-treadkey-twin-b", ""};
};

TEST_F(TwinsOnKernel, EachTwinIsListedChosenAndIdentifiedByItsOwnIdentityAcrossReplugs) {
    ExpectListedApart();
    ExpectKeyReachesOnly(a, b, kA);
    ExpectKeyReachesOnly(b, a, kB);

    const std::size_t before = a.received() + b.received();
    const CliOutcome guess = testing::RunCliInProcess({"mouse", "2", "left"});
    EXPECT_EQ(guess.exitCode, 2);
    EXPECT_EQ(guess.err,
              "treadkeyctl: 2 pedals are plugged in (" + kA + ", " + kB +
                  "): choose one with --pedal ID or --pedal NAME ('treadkeyctl identify' tells which "
                  "one you press)\n");
    EXPECT_EQ(a.received() + b.received(), before);

    std::thread presser([&] {
        WaitUntilOpenedHere({a.keyboard.hidrawPath(), b.keyboard.hidrawPath()});
        b.keyboard.sendInput({0, 0, 0x04, 0, 0, 0, 0, 0});
        b.keyboard.sendInput(Bytes(8, 0));
    });
    const CliOutcome identify = testing::RunCliInProcess({"identify", "--timeout", "30"});
    presser.join();
    EXPECT_EQ(identify.exitCode, 0) << identify.err;
    EXPECT_EQ(identify.out, kB + "\n");

    // Unplugged and plugged in again the other way round: the nodes change, the identities do not.
    a.unplug();
    b.unplug();
    b.plug();
    a.plug();
    ExpectListedApart();
    ExpectKeyReachesOnly(a, b, kA);
}

} // namespace
} // namespace treadkey::kerneltest
