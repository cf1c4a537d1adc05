// The hidapi backend against the kernel's own HID stack (hid core, hid-generic, hidraw), with pedals
// plugged in through uhid. Runs as root in the test guest that run-guest.sh boots.
#include "kernel/report_match.h"
#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"
#include "stacks/hidapi/hidapi_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace treadkey::kerneltest {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

// What the program sends: report id 0, then the command.
const Bytes kPedalReport = {0x00, 0xAA, 0x01, 0x08, 0x03, 0x04, 0x00, 0x00, 0x00};

// Paths of the listed interfaces that carry the pedal's ids, in the backend's order.
std::vector<std::string> PedalPaths(HidBackend& backend) {
    std::vector<std::string> paths;
    for (const HidInterface& found : backend.enumerate(kPedalVendorId, kPedalProductId)) {
        if (found.vendorId == kPedalVendorId && found.productId == kPedalProductId) {
            paths.push_back(found.path);
        }
    }
    return paths;
}

std::unique_ptr<HidDevice> OpenOrFail(HidBackend& backend, const std::string& path) {
    OpenResult opened = backend.open(path);
    EXPECT_TRUE(opened.device) << "open " << path << ": " << opened.problem;
    return std::move(opened.device);
}

TEST(HidapiBackendOnKernel, FindsThePedalByItsIdsUnderAStablePath) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    const auto backend = MakeHidapiBackend();

    const std::vector<std::string> listed = PedalPaths(*backend);
    EXPECT_THAT(listed, ElementsAre(pedal.hidrawPath()));
    EXPECT_EQ(PedalPaths(*backend), listed);
    EXPECT_EQ(PedalPaths(*MakeHidapiBackend()), listed);
}

TEST(HidapiBackendOnKernel, LeavesDevicesWithOtherIdsAlone) {
    // Plugged in before the pedal, one id off each way (sysfs lists them after it: the order follows the
    // ids).
    UhidPedal otherProduct(
        {"decoy, other product", kPedalVendorId, kPedalProductId + 1, VendorOutputDescriptor(8)});
    UhidPedal otherVendor(
        {"decoy, other vendor", kPedalVendorId + 1, kPedalProductId, VendorOutputDescriptor(8)});
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    const auto backend = MakeHidapiBackend();

    const std::vector<HidInterface> listed = backend->enumerate(kPedalVendorId, kPedalProductId);
    EXPECT_THAT(PedalPaths(*backend), ElementsAre(pedal.hidrawPath()));
    for (UhidPedal* decoy : {&otherProduct, &otherVendor}) {
        SCOPED_TRACE(decoy->hidrawPath());
        for (const HidInterface& found : listed) {
            if (found.path == decoy->hidrawPath()) {
                EXPECT_FALSE(found.vendorId == kPedalVendorId && found.productId == kPedalProductId);
            }
        }
        EXPECT_EQ(decoy->openCount(), 0) << "enumeration opened a device not asked for";
    }
}

TEST(HidapiBackendOnKernel, ReportsEveryTopLevelCollectionOfANodeAndNoNestedOne) {
    UhidPedal twoCollections(PedalIdentity(KeyboardAndConsumerDescriptor(), "keyboard and consumer control"));
    UhidPedal mouse(PedalIdentity(BootMouseDescriptor(), "mouse with a nested collection"));
    UhidPedal vendor(PedalIdentity(VendorOutputDescriptor(8)));
    const std::vector<std::pair<UhidPedal*, std::vector<HidCollection>>> expected = {
        {&twoCollections, {{0x01, 0x06}, {0x0C, 0x01}}},
        {&mouse, {{0x01, 0x02}}},
        {&vendor, {{0xFF00, 0x01}}}};
    const std::vector<HidInterface> listed = MakeHidapiBackend()->enumerate(kPedalVendorId, kPedalProductId);
    for (const auto& [node, collections] : expected) {
        SCOPED_TRACE(node->hidrawPath());
        const auto found = std::find_if(listed.begin(), listed.end(),
                                        [&](const HidInterface& i) { return i.path == node->hidrawPath(); });
        ASSERT_NE(found, listed.end());
        EXPECT_EQ(found->collections, collections);
        EXPECT_EQ(std::count_if(listed.begin(), listed.end(),
                                [&](const HidInterface& i) { return i.path == node->hidrawPath(); }),
                  1)
            << "one interface per node";
    }
    // The kernel's own keyboard handler opens the keyboard node; the vendor node only a program would open.
    EXPECT_EQ(vendor.openCount(), 0) << "the enumeration alone tells the collections";
}

TEST(HidapiBackendOnKernel, ListsTwoPedalsInTheSameOrderEveryTime) {
    UhidPedal first(PedalIdentity(VendorOutputDescriptor(8), "treadkey test pedal 1"));
    UhidPedal second(PedalIdentity(VendorOutputDescriptor(8), "treadkey test pedal 2"));

    const std::vector<std::string> listed = PedalPaths(*MakeHidapiBackend());
    EXPECT_THAT(listed, UnorderedElementsAre(first.hidrawPath(), second.hidrawPath()));
    const auto backend = MakeHidapiBackend();
    for (int round = 0; round < 5; ++round) {
        EXPECT_EQ(PedalPaths(*backend), listed) << "round " << round;
    }
}

struct LengthCase {
    const char* name;
    Bytes descriptor;
    int expected;
};

void PrintTo(const LengthCase& tested, std::ostream* out) {
    *out << tested.name;
}

class OutputReportLengthOnKernel : public testing::TestWithParam<LengthCase> {};

TEST_P(OutputReportLengthOnKernel, IsReadFromTheDescriptorTheKernelHolds) {
    UhidPedal pedal(PedalIdentity(GetParam().descriptor));
    const auto backend = MakeHidapiBackend();
    const auto device = OpenOrFail(*backend, pedal.hidrawPath());
    ASSERT_TRUE(device);
    EXPECT_EQ(device->outputReportLength(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, OutputReportLengthOnKernel,
    testing::Values(LengthCase{"Vendor8Bytes", VendorOutputDescriptor(8), 9},
                    LengthCase{"Vendor64Bytes", VendorOutputDescriptor(64), 65},
                    LengthCase{"LongestOfNumberedOutputs", NumberedReportsDescriptor(), 17},
                    LengthCase{"BootKeyboardLeds", BootKeyboardDescriptor(), 2}),
    [](const testing::TestParamInfo<LengthCase>& tested) { return std::string(tested.param.name); });

struct DeliveryCase {
    const char* name;
    Bytes descriptor;
    Bytes report;
};

Bytes CountingReport(std::size_t length) {
    Bytes report(length);
    for (std::size_t i = 1; i < length; ++i) {
        report[i] = static_cast<std::uint8_t>(i);
    }
    return report;
}

void PrintTo(const DeliveryCase& tested, std::ostream* out) {
    *out << tested.name;
}

class WrittenReportOnKernel : public testing::TestWithParam<DeliveryCase> {};

TEST_P(WrittenReportOnKernel, ArrivesByteForByteWithItsReportId) {
    UhidPedal pedal(PedalIdentity(GetParam().descriptor));
    const auto backend = MakeHidapiBackend();
    const auto device = OpenOrFail(*backend, pedal.hidrawPath());
    ASSERT_TRUE(device);

    EXPECT_EQ(device->write(GetParam().report), static_cast<int>(GetParam().report.size()));
    EXPECT_TRUE(SameReports(pedal.outputReports(), {GetParam().report}));
}

INSTANTIATE_TEST_SUITE_P(
    Reports, WrittenReportOnKernel,
    testing::Values(DeliveryCase{"PedalCommand", VendorOutputDescriptor(8), kPedalReport},
                    DeliveryCase{"Full64ByteReport", VendorOutputDescriptor(64), CountingReport(65)}),
    [](const testing::TestParamInfo<DeliveryCase>& tested) { return std::string(tested.param.name); });

TEST(HidapiBackendOnKernel, DeliversReportsWrittenInARowCompleteAndInOrder) {
    // Twice uhid's event queue: the pedal's reader must keep up.
    constexpr int kReports = 64;
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    const auto backend = MakeHidapiBackend();
    const auto device = OpenOrFail(*backend, pedal.hidrawPath());
    ASSERT_TRUE(device);

    std::vector<Bytes> written;
    for (int i = 0; i < kReports; ++i) {
        Bytes report = kPedalReport;
        report[2] = static_cast<std::uint8_t>(i);
        report[8] = static_cast<std::uint8_t>(0xFF - i);
        ASSERT_EQ(device->write(report), static_cast<int>(report.size())) << "report " << i;
        written.push_back(report);
    }
    EXPECT_TRUE(SameReports(pedal.outputReports(), written));
}

TEST(HidapiBackendOnKernel, RefusesAOneByteWrite) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    const auto backend = MakeHidapiBackend();
    const auto device = OpenOrFail(*backend, pedal.hidrawPath());
    ASSERT_TRUE(device);

    EXPECT_EQ(device->write(Bytes{0x00}), -1);
    EXPECT_TRUE(SameReports(pedal.outputReports(), {}));
}

TEST(HidapiBackendOnKernel, FollowsThePedalBeingUnpluggedAndPluggedInAgain) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    const auto backend = MakeHidapiBackend();
    const auto stale = OpenOrFail(*backend, pedal.hidrawPath());
    ASSERT_TRUE(stale);

    pedal.destroy();
    EXPECT_EQ(stale->write(kPedalReport), -1);
    EXPECT_THAT(PedalPaths(*backend), IsEmpty());

    pedal.create();
    EXPECT_THAT(PedalPaths(*backend), ElementsAre(pedal.hidrawPath()));
    const auto fresh = OpenOrFail(*backend, pedal.hidrawPath());
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->write(kPedalReport), static_cast<int>(kPedalReport.size()));
    EXPECT_TRUE(SameReports(pedal.outputReports(), {kPedalReport}));
}

// What the unprivileged child found; its exit status.
enum ChildOutcome {
    kAsExpected = 0,
    kStillPrivileged = 10,
    kNotListed = 11,
    kOpened = 12,
    kProblemSaysNothingOfPermission = 13,
};

bool MentionsPermission(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text.find("permission") != std::string::npos;
}

// Runs in the forked child: drops to nobody, then looks at the pedal as a user without a udev rule would.
ChildOutcome LookAsNobody(const std::string& path) {
    constexpr uid_t kNobody = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 ||
        ::setuid(0) == 0) {
        return kStillPrivileged;
    }
    const auto backend = MakeHidapiBackend();
    const std::vector<std::string> listed = PedalPaths(*backend);
    if (std::find(listed.begin(), listed.end(), path) == listed.end()) {
        return kNotListed;
    }
    const OpenResult opened = backend->open(path);
    if (opened.device) {
        return kOpened;
    }
    if (!MentionsPermission(opened.problem)) {
        std::fprintf(stderr, "the problem given: %s\n", opened.problem.c_str());
        return kProblemSaysNothingOfPermission;
    }
    return kAsExpected;
}

TEST(HidapiBackendOnKernel, TellsAnUnprivilegedUserThatPermissionIsMissing) {
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    ASSERT_EQ(::chown(pedal.hidrawPath().c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(pedal.hidrawPath().c_str(), 0600), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::_Exit(LookAsNobody(pedal.hidrawPath()));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died, status " << status;
    EXPECT_EQ(WEXITSTATUS(status), kAsExpected)
        << "10: could not drop privileges, 11: pedal not listed, 12: opened without permission, "
           "13: the problem text does not mention permission";
}

} // namespace
} // namespace treadkey::kerneltest
