#include "stacks/virtual/virtual_pedal.h"

#include "fixtures/scratch_directory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace treadkey {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kKeyReport = {0x00, 0xAA, 0x01, 0x08, 0x03, 0x04, 0x00, 0x00, 0x00};
const Bytes kMouseReport = {0x00, 0xAA, 0x02, 0x04, 0xFE, 0x02, 0x00, 0x00, 0x00};

VirtualPedalOptions Options(int reportLength, std::optional<std::filesystem::path> logFile = std::nullopt,
                            std::optional<std::filesystem::path> presenceFile = std::nullopt) {
    VirtualPedalOptions options;
    options.reportLength = reportLength;
    options.logFile = std::move(logFile);
    options.presenceFile = std::move(presenceFile);
    return options;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void Touch(const std::filesystem::path& path) {
    std::ofstream{path};
}

std::unique_ptr<HidDevice> OpenPedal(VirtualPedal& pedal) {
    OpenResult opened = pedal.open(VirtualPedal::kPath);
    EXPECT_TRUE(opened.device) << opened.problem;
    return std::move(opened.device);
}

TEST(VirtualPedal, OffersOneInterfaceWhateverIdsAreWanted) {
    VirtualPedal pedal;
    for (const auto& [vendor, product] :
         {std::pair<std::uint16_t, std::uint16_t>{0x2704, 0x2018}, {0, 0}, {1, 2}}) {
        const std::vector<HidInterface> interfaces = pedal.enumerate(vendor, product);
        ASSERT_EQ(interfaces.size(), 1u);
        EXPECT_EQ(interfaces[0].path, "virtual-pedal");
        EXPECT_EQ(interfaces[0].vendorId, 0x2704);
        EXPECT_EQ(interfaces[0].productId, 0x2018);
    }
}

TEST(VirtualPedal, OpenRefusesOtherPaths) {
    VirtualPedal pedal;
    const OpenResult opened = pedal.open("/dev/hidraw0");
    EXPECT_FALSE(opened.device);
    EXPECT_NE(opened.problem.find("/dev/hidraw0"), std::string::npos) << opened.problem;
}

TEST(VirtualPedal, RejectsReportLengthsOutOfRange) {
    for (const int length : {0, -1, 65536}) {
        EXPECT_THROW(VirtualPedal(Options(length)), std::invalid_argument) << length;
    }
    for (const int length : {1, 65535}) {
        VirtualPedal pedal(Options(length));
        EXPECT_EQ(OpenPedal(pedal)->outputReportLength(), length);
    }
}

TEST(VirtualPedal, WriteDecodesAndLogsOneUpperCaseLineEach) {
    const testing::ScratchDirectory directory;
    VirtualPedal pedal(Options(9, directory / "pedal.log"));
    const std::unique_ptr<HidDevice> device = OpenPedal(pedal);
    ASSERT_EQ(device->outputReportLength(), 9);

    EXPECT_EQ(device->write(kKeyReport), 9);
    EXPECT_EQ(ReadFile(directory / "pedal.log"), "00 AA 01 08 03 04 00 00 00\n");
    EXPECT_EQ(device->write(kMouseReport), 9);
    EXPECT_EQ(ReadFile(directory / "pedal.log"), "00 AA 01 08 03 04 00 00 00\n00 AA 02 04 FE 02 00 00 00\n");

    EXPECT_EQ(pedal.receivedReports(), (std::vector<Bytes>{kKeyReport, kMouseReport}));
    EXPECT_EQ(pedal.memory().wordAt(0x08), (MemoryWord{{0x03, 0x04, 0x00, 0x00}, WordWriter::KeyCommand}));
    EXPECT_EQ(pedal.memory().wordAt(0x04), (MemoryWord{{0xFE, 0x02, 0x00, 0x00}, WordWriter::MouseCommand}));
}

TEST(VirtualPedal, AcceptedReportWithBadFrameIsLoggedButIgnored) {
    const testing::ScratchDirectory directory;
    VirtualPedal pedal(Options(4, directory / "pedal.log"));
    EXPECT_EQ(OpenPedal(pedal)->write(Bytes{0x00, 0xAA, 0x01, 0x08}), 4);
    EXPECT_EQ(ReadFile(directory / "pedal.log"), "00 AA 01 08\n");
    EXPECT_EQ(pedal.receivedReports().size(), 1u);
    EXPECT_EQ(pedal.memory().ignoredFrameCount(), 1);
}

TEST(VirtualPedal, WriteOfAnotherSizeFailsAndLeavesNoTrace) {
    const testing::ScratchDirectory directory;
    VirtualPedal pedal(Options(9, directory / "pedal.log"));
    const std::unique_ptr<HidDevice> device = OpenPedal(pedal);
    for (const Bytes& report : {Bytes(kKeyReport.begin(), kKeyReport.end() - 1), Bytes{}, Bytes(10, 0x00)}) {
        EXPECT_EQ(device->write(report), -1) << report.size();
    }
    EXPECT_FALSE(std::filesystem::exists(directory / "pedal.log"));
    EXPECT_TRUE(pedal.receivedReports().empty());
    EXPECT_EQ(pedal.memory().wordAt(0x08), MemoryWord{});
}

TEST(VirtualPedal, WriteThatCannotBeLoggedFails) {
    const testing::ScratchDirectory directory;
    VirtualPedal pedal(Options(9, directory / "missing-folder" / "pedal.log"));
    EXPECT_EQ(OpenPedal(pedal)->write(kKeyReport), -1);
    EXPECT_TRUE(pedal.receivedReports().empty());
    EXPECT_EQ(pedal.memory().wordAt(0x08), MemoryWord{});
}

TEST(VirtualPedal, PresenceFileDecidesWhetherItIsPluggedIn) {
    const testing::ScratchDirectory directory;
    const std::filesystem::path presence = directory / "plugged";
    VirtualPedal pedal(Options(9, std::nullopt, presence));

    EXPECT_FALSE(pedal.present());
    EXPECT_TRUE(pedal.enumerate(0x2704, 0x2018).empty());
    const OpenResult refused = pedal.open(VirtualPedal::kPath);
    EXPECT_FALSE(refused.device);
    EXPECT_NE(refused.problem.find(presence.string()), std::string::npos) << refused.problem;

    Touch(presence);
    EXPECT_TRUE(pedal.present());
    EXPECT_EQ(pedal.enumerate(0x2704, 0x2018).size(), 1u);
    const std::unique_ptr<HidDevice> device = OpenPedal(pedal);
    EXPECT_EQ(device->write(kKeyReport), 9);

    // Unplugged while open: the device stays open but writes fail.
    std::filesystem::remove(presence);
    EXPECT_TRUE(pedal.enumerate(0x2704, 0x2018).empty());
    EXPECT_EQ(device->write(kMouseReport), -1);
    EXPECT_EQ(pedal.receivedReports(), std::vector<Bytes>{kKeyReport});
}

TEST(VirtualPedal, CountsOpenDevices) {
    VirtualPedal pedal;
    EXPECT_EQ(pedal.openDeviceCount(), 0);
    std::unique_ptr<HidDevice> first = OpenPedal(pedal);
    const std::unique_ptr<HidDevice> second = OpenPedal(pedal);
    EXPECT_EQ(pedal.openDeviceCount(), 2);
    first.reset();
    EXPECT_EQ(pedal.openDeviceCount(), 1);
}

TEST(VirtualPedal, DeviceOutlivesThePedal) {
    std::unique_ptr<HidDevice> device;
    {
        VirtualPedal pedal;
        device = OpenPedal(pedal);
    }
    EXPECT_EQ(device->write(kKeyReport), 9);
}

TEST(VirtualPedal, CompositeOffersKeyboardAndMouseFirstAndKeepsTheirReportsApart) {
    const testing::ScratchDirectory directory;
    VirtualPedalOptions options = Options(9, directory / "pedal.log");
    options.composite = true;
    VirtualPedal pedal(options);
    const std::vector<HidInterface> interfaces = pedal.enumerate(0x2704, 0x2018);
    const std::vector<HidInterface> expected = {
        {VirtualPedal::kKeyboardPath, 0x2704, 0x2018, {{0x01, 0x06}}, "virtual-1"},
        {VirtualPedal::kMousePath, 0x2704, 0x2018, {{0x01, 0x02}}, "virtual-1"},
        {VirtualPedal::kPath, 0x2704, 0x2018, {{0xFF00, 0x0001}}, "virtual-1"},
    };
    EXPECT_EQ(interfaces, expected);

    OpenResult keyboard = pedal.open(VirtualPedal::kKeyboardPath);
    OpenResult mouse = pedal.open(VirtualPedal::kMousePath);
    ASSERT_TRUE(keyboard.device && mouse.device);
    EXPECT_EQ(keyboard.device->outputReportLength(), 2);
    EXPECT_EQ(mouse.device->outputReportLength(), 0);
    EXPECT_EQ(keyboard.device->write(Bytes{0x00, 0xAA}), 2);
    EXPECT_EQ(mouse.device->write(Bytes{0x00}), -1); // a mouse has no output report
    EXPECT_EQ(OpenPedal(pedal)->write(kKeyReport), 9);

    EXPECT_EQ(pedal.strayReports(), (std::vector<Bytes>{{0x00, 0xAA}}));
    EXPECT_EQ(pedal.receivedReports(), std::vector<Bytes>{kKeyReport});
    EXPECT_EQ(pedal.memory().ignoredFrameCount(), 0);
    EXPECT_EQ(ReadFile(directory / "pedal.log"),
              "virtual-pedal-keyboard: 00 AA\n00 AA 01 08 03 04 00 00 00\n");
}

} // namespace
} // namespace treadkey
