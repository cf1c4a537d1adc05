#include "device/device_link.h"
#include "device/fake_hid_backend.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

using testing::FakeHidBackend;

TEST(ParseIdText, AcceptsOnlyHexNumbersThatFitSixteenBits) {
    const struct {
        const char* text;
        std::optional<std::uint16_t> id;
    } cases[] = {
        {"&H2704", 0x2704},
        {"&h2018", 0x2018},
        {"&HFFFF", 0xFFFF},
        {"&H8000", 0x8000},
        {"&H0", 0},
        {"&H00002704", 0x2704},
        {"&H", std::nullopt},
        {"", std::nullopt},
        {"2704", std::nullopt},
        {"&H10000", std::nullopt},
        {"&H27 04", std::nullopt},
        {"&H-1", std::nullopt},
        {"&HG", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIdText(c.text), c.id) << c.text;
    }
}

class DeviceLinkTest : public ::testing::Test {
protected:
    bool Find() { return link.FindTheHid("&H2704", "&H2018"); }

    FakeHidBackend backend;
    DeviceLink link{backend};
};

TEST_F(DeviceLinkTest, WritesGoThroughTheMatchAndReportSuccessOnlyWhenAllBytesWent) {
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
    const std::vector<std::uint8_t> report(9, 0);
    EXPECT_FALSE(link.WriteReport(report)); // nothing open yet
    ASSERT_TRUE(Find());
    EXPECT_TRUE(link.WriteReport(report));
    EXPECT_EQ(link.LastResult, 9);
    EXPECT_FALSE(link.WriteReport({})); // a length that holds no report writes nothing
    backend.SetFailWrites(true);
    EXPECT_FALSE(link.WriteReport(report));
    EXPECT_EQ(link.LastResult, -1);
    EXPECT_TRUE(
        link.DeviceDetected); // a failed write does not end the connection; the next discovery decides
}

TEST_F(DeviceLinkTest, UnknownReportLengthKeepsTheLastKnownOne) {
    backend.Plug({"pedal-65", 0x2704, 0x2018, 65, true});
    ASSERT_TRUE(Find());
    backend.Unplug("pedal-65");
    backend.Plug({"pedal-unknown", 0x2704, 0x2018, std::nullopt, true});
    ASSERT_TRUE(Find());
    EXPECT_EQ(link.OutputReportByteLength, 65);
}

TEST_F(DeviceLinkTest, OpenProblemIsKeptOnlyWhileNoMatchOpens) {
    backend.Plug({"locked", 0x2704, 0x2018, 9, false});
    EXPECT_FALSE(Find());
    EXPECT_EQ(link.OpenProblem, "permission denied: locked");
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
    EXPECT_TRUE(Find());
    EXPECT_TRUE(link.OpenProblem.empty());
}

TEST_F(DeviceLinkTest, CloseReleasesBothHandles) {
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
    ASSERT_TRUE(Find());
    EXPECT_EQ(backend.LiveHandles(), 2);
    EXPECT_TRUE(link.CloseDeviceHandles());
    EXPECT_EQ(backend.LiveHandles(), 0);
    EXPECT_FALSE(link.CloseDeviceHandles());
}

} // namespace
} // namespace treadkey
