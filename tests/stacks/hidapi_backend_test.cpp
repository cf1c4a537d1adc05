#include "stacks/hidapi/hidapi_backend.h"
#include "stacks/hidapi/hidapi_platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <string>

namespace treadkey {
namespace {

TEST(HidapiBackend, OpenOfMissingNodeSaysTheDeviceIsGone) {
    const std::unique_ptr<HidBackend> backend = MakeHidapiBackend();
    const OpenResult opened = backend->open("/dev/hidraw-that-does-not-exist");
    EXPECT_FALSE(opened.device);
    EXPECT_EQ(opened.failure, OpenFailure::Gone);
    EXPECT_EQ(
        opened.problem,
        "cannot open /dev/hidraw-that-does-not-exist: the device is gone; replug the pedal and try again");
}

struct OpenFailureCase {
    std::string name;
    int error;
    std::string problem;
    OpenFailure failure;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const OpenFailureCase& tested, std::ostream* out) { *out << tested.name; }
};

class HidapiOpenFailureText : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(HidapiOpenFailureText, SaysWhyAndHowToFix) {
    const OpenResult refused = hidapi_platform::RefusedWithErrno("/dev/hidraw3", GetParam().error);
    EXPECT_EQ(refused.problem, GetParam().problem);
    EXPECT_EQ(refused.failure, GetParam().failure);
}

const std::string kPermissionProblem = "permission denied on /dev/hidraw3: install the udev rule "
                                       "70-treadkey.rules (see README) and replug the pedal";

INSTANTIATE_TEST_SUITE_P(
    Errors, HidapiOpenFailureText,
    ::testing::Values(
        OpenFailureCase{"AccessDenied", EACCES, kPermissionProblem, OpenFailure::PermissionDenied},
        OpenFailureCase{"NotPermitted", EPERM, kPermissionProblem, OpenFailure::PermissionDenied},
        OpenFailureCase{"NoDevice", ENODEV,
                        "cannot open /dev/hidraw3: the device is gone; replug the pedal and try again",
                        OpenFailure::Gone},
        // hidapi asks whatever it opened for its descriptor size; a plain file refuses.
        OpenFailureCase{"NotHidraw", ENOTTY, "cannot open /dev/hidraw3: not a HID device",
                        OpenFailure::NotHid},
        OpenFailureCase{"OtherError", EIO, "cannot open /dev/hidraw3: Input/output error",
                        OpenFailure::Unknown},
        OpenFailureCase{"Unknown", 0, "cannot open /dev/hidraw3: no reason given", OpenFailure::Unknown}),
    [](const auto& tested) { return tested.param.name; });

} // namespace
} // namespace treadkey
