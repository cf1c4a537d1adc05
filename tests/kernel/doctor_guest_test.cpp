// doctor and the udev rule on the kernel's own HID stack and sysfs, against a composite uhid pedal: udev's
// rule engine run over the real devices, and doctor's judgement of real nodes, modes and ACLs. Runs as root
// in the test guest, which has no udev running: the rule files, udev's records and the session are laid out
// for each case.
#include "diagnosis/acl_bytes.h"
#include "diagnosis/system_root.h"
#include "fixtures/cli_in_process.h"
#include "fixtures/scratch_directory.h"
#include "kernel/test_descriptors.h"
#include "kernel/uhid_pedal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace treadkey::kerneltest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::uint32_t kNobody = 65534;

std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return text;
    }
    std::array<char, 4096> buffer{};
    while (const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
        text.append(buffer.data(), count);
    }
    ::pclose(pipe);
    return text;
}

// The sysfs folders of the hidraw and input event nodes made for the HID device behind `hidraw`.
std::vector<std::string> NodesOf(const std::string& hidraw) {
    const std::string name = std::filesystem::path(hidraw).filename();
    const std::filesystem::path hidDevice =
        std::filesystem::canonical("/sys/class/hidraw/" + name + "/device");
    std::vector<std::string> nodes = {"/sys/class/hidraw/" + name};
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/input")) {
        const std::string path = std::filesystem::canonical(entry.path()).string();
        if (entry.path().filename().string().starts_with("event") &&
            path.starts_with(hidDevice.string() + "/")) {
            nodes.push_back(entry.path().string());
        }
    }
    return nodes;
}

// udev's rule engine over one device, with the packaged rule as the only rule: every rule folder is hidden
// under an empty tmpfs in a mount namespace of the command's own.
std::string UdevTest(const std::string& syspath) {
    const std::string script =
        "for d in /etc/udev/rules.d /run/udev/rules.d /usr/local/lib/udev/rules.d /usr/lib/udev/rules.d; do "
        "[ -d \\$d ] || continue; mount -t tmpfs tmpfs \\$d || exit 1; done; mkdir -p /etc/udev/rules.d && "
        "cp '" TREADKEY_RULE_FILE "' /etc/udev/rules.d/ && udevadm test --action=add " +
        syspath;
    return Output("unshare -m sh -c \"" + script + "\" 2>&1");
}

TEST(UdevRuleOnKernel, TagsThePedalsNodesAndNothingOfAnotherDevice) {
    UhidPedal keyboard(PedalKeyboardIdentity());
    UhidPedal pedal(PedalIdentity(VendorOutputDescriptor(8)));
    UhidPedal decoy({"decoy keyboard", 0x1234, 0x5678, BootKeyboardDescriptor()});
    const std::vector<std::string> keyboardNodes = NodesOf(keyboard.hidrawPath());
    ASSERT_GE(keyboardNodes.size(), 2U) << "no event node for the pedal's keyboard";
    std::vector<std::string> pedalNodes = NodesOf(pedal.hidrawPath());
    pedalNodes.insert(pedalNodes.end(), keyboardNodes.begin(), keyboardNodes.end());
    for (const std::string& node : pedalNodes) {
        const std::string output = UdevTest(node);
        EXPECT_THAT(output, HasSubstr("DEVPATH=")) << node << ":\n" << output;
        EXPECT_THAT(output, HasSubstr("TAGS=:uaccess:")) << node << ":\n" << output;
    }
    const std::vector<std::string> decoyNodes = NodesOf(decoy.hidrawPath());
    ASSERT_GE(decoyNodes.size(), 2U) << "no event node for the decoy keyboard";
    for (const std::string& node : decoyNodes) {
        const std::string output = UdevTest(node);
        EXPECT_THAT(output, HasSubstr("DEVPATH=")) << node << ":\n" << output;
        EXPECT_THAT(output, Not(HasSubstr("uaccess"))) << node << ":\n" << output;
    }
}

// The running kernel's sysfs and device nodes, with rule files, udev's record and logind's session of the
// test's making, judged for nobody.
class DoctorOnKernel : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory_symlink("/sys", scratch_ / "sys");
        std::filesystem::create_directory_symlink("/dev", scratch_ / "dev");
        Write("usr/lib/udev/rules.d/70-treadkey.rules", ReadSmallFile(TREADKEY_RULE_FILE));
        Write("run/systemd/sessions/1", "UID=65534\nACTIVE=1\nREMOTE=0\nSEAT=seat0\n");
        std::filesystem::create_directories(scratch_ / "run/udev/data");
    }
    void TearDown() override { ::removexattr(pedal_.hidrawPath().c_str(), "system.posix_acl_access"); }

    void Write(const std::string& relative, const std::string& text) {
        std::filesystem::create_directories((scratch_ / relative).parent_path());
        std::ofstream(scratch_ / relative) << text;
    }
    // udev's record of the pedal's node, with the tags it gave.
    void UdevRecord(const std::string& tags) {
        struct stat status {};
        ASSERT_EQ(::stat(pedal_.hidrawPath().c_str(), &status), 0);
        Write("run/udev/data/c" + std::to_string(major(status.st_rdev)) + ":" +
                  std::to_string(minor(status.st_rdev)),
              tags);
    }

    struct Outcome {
        int exitCode = -1;
        std::string out;
    };
    Outcome Doctor() {
        const testing::CliOutcome outcome = testing::RunCliInProcess({"doctor"}, [&](CliServices& services) {
            services.makeBackend = nullptr;
            services.lookAtSystem = [&] {
                SystemRoot system = RunningSystem();
                system.root = scratch_ / "";
                system.user = {kNobody, {kNobody}};
                system.sessionId = "1";
                return system;
            };
        });
        return {outcome.exitCode, outcome.out + outcome.err};
    }

    testing::ScratchDirectory scratch_;
    UhidPedal keyboard_{PedalKeyboardIdentity()};
    UhidPedal pedal_{PedalIdentity(VendorOutputDescriptor(8))};
};

TEST_F(DoctorOnKernel, APedalWhoseNodeTheUserMayOpen) {
    UdevRecord("G:uaccess\nQ:uaccess\n");
    const std::string acl = testing::AclForUser(kNobody);
    ASSERT_EQ(::setxattr(pedal_.hidrawPath().c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0),
              0)
        << std::strerror(errno);
    const Outcome outcome = Doctor();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.out;
    EXPECT_THAT(outcome.out, HasSubstr("the frames go to " + pedal_.hidrawPath()));
    EXPECT_THAT(outcome.out, HasSubstr("ACL user 65534 rw-; you may open it for reading and writing"));
    EXPECT_THAT(outcome.out, HasSubstr("the pedal can be opened for writing"));
}

TEST_F(DoctorOnKernel, ANodeWithoutTheUsersAccess) {
    UdevRecord("G:uaccess\nQ:uaccess\n");
    const Outcome outcome = Doctor();
    EXPECT_EQ(outcome.exitCode, 1) << outcome.out;
    EXPECT_THAT(outcome.out, HasSubstr("the pedal cannot be opened for writing: you may not open " +
                                       pedal_.hidrawPath() + " for writing"));
}

TEST_F(DoctorOnKernel, ARuleThatUdevHasNotApplied) {
    UdevRecord("E:ID_FOR_SEAT=hidraw\n");
    const Outcome outcome = Doctor();
    EXPECT_EQ(outcome.exitCode, 1) << outcome.out;
    EXPECT_THAT(outcome.out, HasSubstr("70-treadkey.rules is installed but udev has not applied it to " +
                                       pedal_.hidrawPath()));
    EXPECT_THAT(outcome.out, HasSubstr("to mend: sudo udevadm control --reload && sudo udevadm trigger"));
}

} // namespace
} // namespace treadkey::kerneltest
