#include "diagnosis/fake_system.h"
#include "fixtures/cli_in_process.h"
#include "kernel/test_descriptors.h"
#include "stacks/fake_hid_backend.h"
#include "json/json.h"

#include <gtest/gtest.h>

#include <sstream>

namespace treadkey {
namespace {

struct DoctorOutcome {
    int exitCode = -1;
    std::string out;
};

DoctorOutcome RunDoctor(const testing::FakeSystem& fake, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "doctor");
    const testing::CliOutcome outcome = testing::RunCliInProcess(arguments, [&](CliServices& services) {
        services.makeBackend = nullptr;
        services.lookAtSystem = [&] { return fake.system; };
    });
    EXPECT_EQ(outcome.err, "");
    return {outcome.exitCode, outcome.out};
}

// A pedal whose node nobody but root may open, for want of any rule.
void PedalWithoutRule(testing::FakeSystem& fake) {
    fake.hidraw("hidraw4", "0003:2704:2018.0007", 2, kerneltest::VendorOutputDescriptor(64));
    fake.node("hidraw4", 0600);
    fake.folder("/run/udev/data");
    fake.session("2", "ACTIVE=1\nREMOTE=0\nSEAT=seat0\n");
}

TEST(Doctor, PrintsEachCheckThenTheFirstCauseAndItsMend) {
    testing::FakeSystem fake;
    PedalWithoutRule(fake);
    const DoctorOutcome outcome = RunDoctor(fake, {});
    EXPECT_EQ(outcome.exitCode, 1);
    std::istringstream lines(outcome.out);
    std::vector<std::string> heads;
    for (std::string line; std::getline(lines, line);) {
        heads.push_back(line.substr(0, line.find(": ", line.find(": ") + 2)));
    }
    const std::vector<std::string> expected = {
        "pedal: ok",
        "nodes: problem",
        "  you may not open /dev/hidraw4 for writing, though rule, udev and session look right",
        "  to mend: see who may open it with 'getfacl /dev/hidraw4', then replug the pedal",
        "rule: problem",
        "  no udev rule names the pedal, so only root may open /dev/hidraw4",
        "  to mend: sudo cp 70-treadkey.rules /etc/udev/rules.d/ && sudo udevadm control --reload && sudo "
        "udevadm "
        "trigger --subsystem-match=hidraw (the package does this)",
        "applied: ok",
        "session: ok",
        "the pedal cannot be opened for writing: no udev rule names the pedal, so only root may open "
        "/dev/hidraw4",
        "to mend: sudo cp 70-treadkey.rules /etc/udev/rules.d/ && sudo udevadm control --reload && sudo "
        "udevadm "
        "trigger --subsystem-match=hidraw (the package does this)",
    };
    EXPECT_EQ(heads, expected) << outcome.out;
}

TEST(Doctor, JsonSaysTheSameAndExitsByWhetherThePedalOpens) {
    testing::FakeSystem fake;
    PedalWithoutRule(fake);
    for (const bool opens : {false, true}) {
        if (opens) {
            chmod(fake.system.under("/dev/hidraw4").c_str(), 0666);
        }
        const DoctorOutcome outcome = RunDoctor(fake, {"--json"});
        EXPECT_EQ(outcome.exitCode, opens ? 0 : 1);
        const JsonParseResult parsed = ParseJson(outcome.out);
        ASSERT_TRUE(parsed.value) << parsed.error.message << "\n" << outcome.out;
        const std::vector<JsonMember>& members = parsed.value->members;
        ASSERT_EQ(members.size(), 4U);
        EXPECT_EQ(members[0].value.items.size(), 5U);
        EXPECT_EQ(members[1].value.boolean, opens);
        // Once the node opens, the missing rule is only a note: something else grants the access.
        EXPECT_EQ(members[0].value.items[2].members[1].value.text, opens ? "note" : "problem");
        EXPECT_EQ(members[2].value.kind, opens ? JsonValue::Kind::Null : JsonValue::Kind::String);
    }
}

// 'list' and the one stderr line of a write put a refused permission down to doctor's first cause, once the
// system's files show the pedal; where they do not, the HID stack's words stand.
TEST(Doctor, ListAndWritesGiveTheFirstCauseOfARefusal) {
    for (const bool pedalInSysfs : {false, true}) {
        testing::FakeSystem fake;
        if (pedalInSysfs) {
            PedalWithoutRule(fake);
        }
        testing::FakeHidBackend backend;
        backend.Plug({"/dev/hidraw4", 0x2704, 0x2018, 65, false, {{0xFF00, 0x01}}});
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"list"}, std::vector<std::string>{"mouse", "1", "left"}}) {
            const testing::CliOutcome outcome =
                testing::RunCliInProcess(arguments, [&](CliServices& services) {
                    services.makeBackend = [&](const BackendOptions&) {
                        return std::make_unique<testing::FakeHidBackend>(backend);
                    };
                    services.lookAtSystem = [&] { return fake.system; };
                });
            EXPECT_EQ(outcome.exitCode, arguments[0] == "list" ? 0 : 1);
            const std::string said = outcome.out + outcome.err;
            const std::string cause =
                "permission denied on /dev/hidraw4: no udev rule names the pedal, so only "
                "root may open /dev/hidraw4; run 'treadkeyctl doctor' for every check";
            EXPECT_EQ(said.find(cause) != std::string::npos, pedalInSysfs) << said;
            EXPECT_EQ(said.find("permission denied: /dev/hidraw4") != std::string::npos, !pedalInSysfs)
                << said;
        }
    }
}

} // namespace
} // namespace treadkey
