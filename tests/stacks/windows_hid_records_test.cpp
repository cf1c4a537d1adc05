#include "stacks/windows/windows_hid_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace treadkey::windows_hid {
namespace {

// A detail record as the 64-bit system fills it: size field 8, then the path's bytes.
std::vector<std::uint8_t> Record(const std::string& path, std::size_t zerosAfter) {
    std::vector<std::uint8_t> record(kDetailPathOffset + path.size() + zerosAfter, 0);
    record[0] = 0x08;
    std::copy(path.begin(), path.end(), record.begin() + kDetailPathOffset);
    return record;
}

TEST(PathFromDetailRecord, TakesTheBytesAfterTheSizeFieldUpToTheFirstZero) {
    const std::string path =
        R"(\\?\hid#vid_2704&pid_2018&mi_02#8&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
    const struct {
        std::vector<std::uint8_t> record;
        std::optional<std::string> path;
    } cases[] = {
        {Record(path, 2), path},
        // What the spare byte guards against: a record whose path runs to its end unterminated.
        {Record(path, 0), path},
        {Record("\\\\?\\a\0junk", 1), "\\\\?\\a"},
        {Record("", 1), std::nullopt},
        {{0x08, 0x00, 0x00, 0x00}, std::nullopt},
        {{0x08, 0x00}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathFromDetailRecord(c.record), c.path) << c.record.size() << " bytes";
    }
}

TEST(PathFromDetailRecord, KeepsBytesAboveSevenBitsAsTheyAre) {
    const std::vector<std::uint8_t> record = {0x05, 0x00, 0x00, 0x00, 'p', 0xE9, 0xFF, 0x00};
    EXPECT_EQ(PathFromDetailRecord(record), std::string("p\xE9\xFF"));
}

TEST(CollectionsFromCaps, GivesTheCapsUsageOrNothingWhenTheCapsWereNotRead) {
    EXPECT_EQ(CollectionsFromCaps(HidCollection{0xFF00, 0x01}), (std::vector<HidCollection>{{0xFF00, 0x01}}));
    // Not a generic-desktop pointer at 0:0: unread caps leave the interface a candidate.
    EXPECT_TRUE(CollectionsFromCaps(std::nullopt).empty());
}

TEST(OpenFailureFor, AccessDeniedOnACollectionTheSystemHoldsIsNoPermissionProblem) {
    const HidInterface keyboard{"kbd", 0x2704, 0x2018, {{0x01, 0x06}}};
    const HidInterface mouse{"mouse", 0x2704, 0x2018, {{0x01, 0x02}}};
    const HidInterface vendor{"cfg", 0x2704, 0x2018, {{0xFF00, 0x01}}};
    const HidInterface unknown{"unknown", 0x2704, 0x2018, {}};

    for (const HidInterface* held : {&keyboard, &mouse}) {
        const OpenResult result = OpenFailureFor(*held, kErrorAccessDenied);
        EXPECT_EQ(result.device, nullptr);
        EXPECT_NE(result.failure, OpenFailure::PermissionDenied) << held->path;
        EXPECT_EQ(result.problem,
                  "cannot open " + held->path + " for writing: the system keeps it to itself");
    }
    for (const HidInterface* other : {&vendor, &unknown}) {
        const OpenResult result = OpenFailureFor(*other, kErrorAccessDenied);
        EXPECT_EQ(result.problem, "access denied on " + other->path +
                                      ": another program has it open alone; close that program");
    }
}

TEST(OpenFailureFor, NamesTheErrorAndTellsAGoneDeviceFromTheRest) {
    const HidInterface vendor{"cfg", 0x2704, 0x2018, {{0xFF00, 0x01}}};
    const struct {
        std::uint32_t error;
        OpenFailure failure;
        std::string problem;
    } cases[] = {
        {kErrorFileNotFound, OpenFailure::Gone,
         "cannot open cfg: the device is gone; replug the pedal and try again"},
        {kErrorDeviceNotConnected, OpenFailure::Gone,
         "cannot open cfg: the device is gone; replug the pedal and try again"},
        {kErrorSharingViolation, OpenFailure::Unknown,
         "cannot open cfg: another program has it open alone; close that program"},
        {0, OpenFailure::Unknown, "cannot open cfg: no reason given"},
        {87, OpenFailure::Unknown, "cannot open cfg: Windows error 87"},
    };
    for (const auto& c : cases) {
        const OpenResult result = OpenFailureFor(vendor, c.error);
        EXPECT_EQ(result.failure, c.failure) << c.error;
        EXPECT_EQ(result.problem, c.problem) << c.error;
    }
}

TEST(PedalIdentityFromAncestors, TakesTheSerialOfTheUsbDeviceElseItsPort) {
    const DeviceNode hidInterface{R"(USB\VID_2704&PID_2018&MI_02\7&1a2b3c&0&0002)", ""};
    const DeviceNode hub{R"(USB\ROOT_HUB30\4&2f1e&0&0)", ""};
    const struct {
        std::string hidSerial;
        std::vector<DeviceNode> ancestors;
        std::string identity;
    } cases[] = {
        {"",
         {hidInterface, {R"(USB\VID_2704&PID_2018\ABC123)", "Port_#0002.Hub_#0003"}, hub},
         "serial:ABC123"},
        // What the HID stack says comes first: Wine puts no USB node above a device, only its bus.
        {"W1", {{R"(WINEBUS\VID_2704&PID_2018&MI_01\0&W1&0&0&0)", ""}}, "serial:W1"},
        {"0000", {{R"(WINEBUS\VID_2704&PID_2018&MI_01\0&0000&0&0&0)", ""}}, ""},
        // Without a serial Windows makes up an instance id with '&'; the port stays the same across replugs.
        {"",
         {hidInterface, {R"(USB\VID_2704&PID_2018\6&3C4D&0&2)", "Port_#0002.Hub_#0003"}, hub},
         "usb-hub3-port2"},
        {"", {hidInterface, {R"(USB\VID_2704&PID_2018\6&3C4D&0&2)", ""}, hub}, "usb-6-3c4d-0-2"},
        // A pedal plugged in without a composite parent: the HID interface's parent is the device itself.
        {"", {{R"(usb\vid_2704&pid_2018\XY 9)", ""}}, "serial:XY_9"},
        {"", {{R"(HID\VID_2704&PID_2018\1&0)", ""}, {R"(ROOT\SYSTEM\0000)", ""}}, ""},
        {"", {}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PedalIdentityFromAncestors(c.hidSerial, c.ancestors), c.identity)
            << (c.ancestors.empty() ? std::string("none") : c.ancestors.front().instanceId);
    }
}

} // namespace
} // namespace treadkey::windows_hid
