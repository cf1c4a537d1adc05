#include "stacks/virtual/virtual_pedal.h"

#include "fixtures/scratch_directory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace treadkey {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Slot 3: Ctrl + Shift + A; slot 4: the right mouse button; slot 5 cleared.
const Bytes kKeyFrame = {0x00, 0xAA, 0x01, 0x08, 0x03, 0x04, 0x00, 0x00, 0x00};
const Bytes kMouseFrame = {0x00, 0xAA, 0x02, 0x0C, 0xFE, 0x02, 0x00, 0x00, 0x00};
const Bytes kClearFrame = {0x00, 0xAA, 0x01, 0x10, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

void Append(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::app) << text;
}

// Everything queued on a handle, oldest first.
std::vector<Bytes> Drain(HidDevice& device) {
    std::vector<Bytes> reports;
    std::array<std::uint8_t, 64> buffer{};
    for (int length = device.read(buffer, 0); length > 0; length = device.read(buffer, 0)) {
        reports.emplace_back(buffer.begin(), buffer.begin() + length);
    }
    return reports;
}

class VirtualPresses : public ::testing::Test {
protected:
    VirtualPedal MakePedal(bool withLog) {
        VirtualPedalOptions options;
        options.composite = true;
        options.pressFile = presses;
        if (withLog) {
            options.logFile = log;
        }
        return VirtualPedal(options);
    }

    testing::ScratchDirectory scratch;
    std::filesystem::path presses = scratch / "presses";
    std::filesystem::path log = scratch / "pedal.log";
};

TEST_F(VirtualPresses, APressedSlotSendsItsPressAndReleaseToEveryHandleOfItsInterface) {
    VirtualPedal pedal = MakePedal(false);
    for (const Bytes& frame : {kKeyFrame, kMouseFrame, kClearFrame}) {
        ASSERT_EQ(pedal.open(VirtualPedal::kPath).device->write(frame), 9);
    }
    OpenResult keyboard = pedal.openReadOnly(VirtualPedal::kKeyboardPath);
    OpenResult secondKeyboard = pedal.openReadOnly(VirtualPedal::kKeyboardPath);
    OpenResult mouse = pedal.openReadOnly(VirtualPedal::kMousePath);
    ASSERT_TRUE(keyboard.device && secondKeyboard.device && mouse.device);

    // A cleared slot, a slot never written, a number out of range and a half-written line send nothing.
    Append(presses, "5\n7\n13\nthree\n3\n4\n 3 \n1");
    const std::vector<Bytes> keyPress = {{0x03, 0, 0x04, 0, 0, 0, 0, 0}, Bytes(8, 0)};
    const std::vector<Bytes> twoKeyPresses = {keyPress[0], keyPress[1], keyPress[0], keyPress[1]};
    EXPECT_EQ(Drain(*keyboard.device), twoKeyPresses);
    EXPECT_EQ(Drain(*secondKeyboard.device), twoKeyPresses);
    EXPECT_EQ(Drain(*mouse.device), (std::vector<Bytes>{{0x02, 0, 0}, {0, 0, 0}}));

    // The half-written line counts once it ends; nothing is played twice.
    Append(presses, "2\n");
    EXPECT_TRUE(Drain(*keyboard.device).empty());
    EXPECT_TRUE(Drain(*mouse.device).empty());
}

TEST_F(VirtualPresses, LinesWrittenBeforeThePedalStartsAreNotPlayed) {
    {
        VirtualPedal writer = MakePedal(true);
        ASSERT_EQ(writer.open(VirtualPedal::kPath).device->write(kKeyFrame), 9);
    }
    Append(presses, "3\n");
    VirtualPedal pedal = MakePedal(true);
    OpenResult keyboard = pedal.openReadOnly(VirtualPedal::kKeyboardPath);
    ASSERT_TRUE(keyboard.device);
    EXPECT_TRUE(Drain(*keyboard.device).empty());
    Append(presses, "3\n");
    EXPECT_EQ(Drain(*keyboard.device).size(), 2u);
}

TEST_F(VirtualPresses, ReadOnlyHandlesWriteNothingAndTellTheBootDescriptor) {
    VirtualPedal pedal = MakePedal(false);
    OpenResult keyboard = pedal.openReadOnly(VirtualPedal::kKeyboardPath);
    ASSERT_TRUE(keyboard.device);
    EXPECT_EQ(keyboard.device->write(Bytes{0x00, 0x01}), -1);
    EXPECT_TRUE(pedal.strayReports().empty());
    const std::optional<Bytes> descriptor = keyboard.device->reportDescriptor();
    ASSERT_TRUE(descriptor.has_value());
    EXPECT_EQ(descriptor->size(), 63u);
    EXPECT_FALSE(pedal.openReadOnly(VirtualPedal::kPath).device->reportDescriptor().has_value());
}

TEST_F(VirtualPresses, WithALogAPedalPlaysWhatAnEarlierRunWrote) {
    {
        VirtualPedal writer = MakePedal(true);
        ASSERT_EQ(writer.open(VirtualPedal::kPath).device->write(kKeyFrame), 9);
    }
    VirtualPedal player = MakePedal(true);
    OpenResult keyboard = player.openReadOnly(VirtualPedal::kKeyboardPath);
    ASSERT_TRUE(keyboard.device);
    Append(presses, "3\n");
    const std::vector<Bytes> reports = Drain(*keyboard.device);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], (Bytes{0x03, 0, 0x04, 0, 0, 0, 0, 0}));
}

TEST_F(VirtualPresses, AnUnpluggedPedalFailsItsReaders) {
    VirtualPedalOptions options;
    options.composite = true;
    options.presenceFile = scratch / "present";
    std::ofstream{*options.presenceFile};
    VirtualPedal pedal(options);
    OpenResult keyboard = pedal.openReadOnly(VirtualPedal::kKeyboardPath);
    ASSERT_TRUE(keyboard.device);
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(keyboard.device->read(buffer, 0), 0);
    std::filesystem::remove(*options.presenceFile);
    EXPECT_EQ(keyboard.device->read(buffer, 0), -1);
}

} // namespace
} // namespace treadkey
