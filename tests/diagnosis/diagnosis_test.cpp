#include "diagnosis/diagnosis.h"
#include "diagnosis/diagnosis_words.h"

#include "diagnosis/fake_system.h"
#include "hid/input_layout.h"
#include "kernel/test_descriptors.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>

namespace treadkey {
namespace {

using testing::FakeSystem;

// The packaged rule, as the package installs it.
std::string PackagedRule() {
    return ReadSmallFile(TREADKEY_RULE_FILE);
}

const std::vector<std::uint8_t> kKeyboard(BootKeyboardDescriptor().begin(), BootKeyboardDescriptor().end());
const std::vector<std::uint8_t> kConfiguration = kerneltest::VendorOutputDescriptor(64);

// A desktop where everything is right: the pedal's keyboard and configuration interfaces, the packaged rule,
// udev's tag, the ACL logind put on the node for the active local session.
void WorkingDesktop(FakeSystem& fake) {
    fake.hidraw("hidraw0", "0003:2704:2018.0001", 0, kKeyboard);
    fake.hidraw("hidraw1", "0003:2704:2018.0002", 2, kConfiguration);
    fake.node("hidraw0", 0600);
    fake.node("hidraw1", 0660);
    fake.aclForUser("hidraw1");
    fake.write("/usr/lib/udev/rules.d/70-treadkey.rules", PackagedRule());
    fake.write("/usr/lib/udev/rules.d/73-seat-late.rules", "TAG==\"uaccess\", RUN{builtin}+=\"uaccess\"\n");
    fake.write("/run/udev/data/c244:1", "E:ID_FOR_SEAT=hidraw\nG:seat\nG:uaccess\nQ:uaccess\n");
    fake.session("3", "ACTIVE=1\nREMOTE=0\nSEAT=seat0\n");
    fake.system.sessionId = "3";
}

struct CauseCase {
    const char* name;
    std::function<void(FakeSystem&)> change; // made to the working desktop
    std::optional<Cause> cause;              // nothing: the pedal opens
    std::string sentence;                    // in the cause's words
};

// Without logind's ACL, which is what every cause below takes away.
void NoAcl(FakeSystem& fake) {
    fake.system.readAcl = nullptr;
}

const CauseCase kCauseCases[] = {
    {"Working", [](FakeSystem&) {}, std::nullopt, ""},
    {"NotPresent", [](FakeSystem& fake) { std::filesystem::remove_all(fake.system.under("/sys")); },
     Cause::NotPresent, "the pedal is not plugged in"},
    {"OnlyKeyboard",
     [](FakeSystem& fake) { std::filesystem::remove(fake.system.under("/sys/class/hidraw/hidraw1")); },
     Cause::NoConfigurationInterface, "only keyboard and mouse interfaces"},
    {"SandboxHidesNode",
     [](FakeSystem& fake) {
         std::filesystem::remove(fake.system.under("/dev/hidraw1"));
         fake.write("/.flatpak-info", "[Application]\n");
     },
     Cause::SandboxHidesNode, "/dev/hidraw1 is hidden: the program runs in a Flatpak sandbox"},
    {"NodeMissing", [](FakeSystem& fake) { std::filesystem::remove(fake.system.under("/dev/hidraw1")); },
     Cause::NodeMissing, "/dev/hidraw1 is missing"},
    {"RuleMissing",
     [](FakeSystem& fake) {
         NoAcl(fake);
         std::filesystem::remove(fake.system.under("/usr/lib/udev/rules.d/70-treadkey.rules"));
     },
     Cause::RuleMissing, "no udev rule names the pedal, so only root may open /dev/hidraw1"},
    {"RuleMaskedByDevNull",
     [](FakeSystem& fake) {
         NoAcl(fake);
         fake.link("/etc/udev/rules.d/70-treadkey.rules", "/dev/null");
     },
     Cause::RuleMasked,
     "/etc/udev/rules.d/70-treadkey.rules masks /usr/lib/udev/rules.d/70-treadkey.rules: udev reads only the "
     "first"},
    {"RuleMaskedByOldCopy",
     [](FakeSystem& fake) {
         NoAcl(fake);
         fake.write(
             "/etc/udev/rules.d/70-treadkey.rules",
             "SUBSYSTEM==\"usb\", ATTRS{idVendor}==\"2704\", ATTRS{idProduct}==\"2018\", MODE=\"0666\"\n");
     },
     Cause::RuleMasked, "/etc/udev/rules.d/70-treadkey.rules masks /usr/lib/udev/rules.d/70-treadkey.rules"},
    {"RuleAfterSeatLate",
     [](FakeSystem& fake) {
         NoAcl(fake);
         std::filesystem::rename(fake.system.under("/usr/lib/udev/rules.d/70-treadkey.rules"),
                                 fake.system.under("/usr/lib/udev/rules.d/99-treadkey.rules"));
     },
     Cause::RuleAfterSeatLate, "/usr/lib/udev/rules.d/99-treadkey.rules sorts after 73-seat-late.rules"},
    {"RuleWrongSubsystem",
     [](FakeSystem& fake) {
         NoAcl(fake);
         fake.write(
             "/usr/lib/udev/rules.d/70-treadkey.rules",
             "SUBSYSTEM==\"usb\", ATTRS{idVendor}==\"2704\", ATTRS{idProduct}==\"2018\", TAG+=\"uaccess\"\n");
     },
     Cause::RuleWrongSubsystem, "names the pedal but none of its rules matches hidraw nodes"},
    {"NoUdev",
     [](FakeSystem& fake) {
         NoAcl(fake);
         std::filesystem::remove_all(fake.system.under("/run/udev"));
     },
     Cause::NoUdev, "udev does not run here"},
    {"RuleNotApplied",
     [](FakeSystem& fake) {
         NoAcl(fake);
         fake.write("/run/udev/data/c244:1", "E:ID_FOR_SEAT=hidraw\n");
     },
     Cause::RuleNotApplied,
     "/usr/lib/udev/rules.d/70-treadkey.rules is installed but udev has not applied it to /dev/hidraw1 yet"},
    {"NoUdevRecord",
     [](FakeSystem& fake) {
         NoAcl(fake);
         std::filesystem::remove(fake.system.under("/run/udev/data/c244:1"));
     },
     Cause::RuleNotApplied, "needs a trigger or a replug"},
    {"NoLogind",
     [](FakeSystem& fake) {
         NoAcl(fake);
         std::filesystem::remove_all(fake.system.under("/run/systemd"));
     },
     Cause::NoLogind, "this system has no logind"},
    {"NoSession",
     [](FakeSystem& fake) {
         NoAcl(fake);
         std::filesystem::remove(fake.system.under("/run/systemd/sessions/3"));
         fake.system.sessionId.clear();
     },
     Cause::NoSession, "you are not in a login session"},
    {"RemoteSession",
     [](FakeSystem& fake) {
         NoAcl(fake);
         fake.session("3", "ACTIVE=1\nREMOTE=1\nREMOTE_HOST=10.0.0.2\n");
     },
     Cause::RemoteSession, "your session is remote (ssh)"},
    {"InactiveSession",
     [](FakeSystem& fake) {
         NoAcl(fake);
         fake.session("3", "ACTIVE=0\nREMOTE=0\nSEAT=seat0\n");
     },
     Cause::InactiveSession, "your session is not the active one on its seat"},
    {"NotInGroup",
     [](FakeSystem& fake) {
         NoAcl(fake);
         fake.write("/etc/group", "plugdev:x:" + std::to_string(getgid()) + ":\n");
         fake.write("/usr/lib/udev/rules.d/70-treadkey.rules",
                    "SUBSYSTEM==\"hidraw\", KERNELS==\"*:2704:2018.*\", GROUP=\"plugdev\", MODE=\"0660\"\n");
     },
     Cause::NotInGroup, "the rule gives /dev/hidraw1 to group 'plugdev', and you are not in it"},
    {"InGroupOverSsh",
     [](FakeSystem& fake) {
         NoAcl(fake);
         fake.write("/etc/group", "plugdev:x:" + std::to_string(getgid()) + ":\n");
         fake.system.user.groups.push_back(static_cast<std::uint32_t>(getgid()));
         fake.write("/usr/lib/udev/rules.d/70-treadkey.rules",
                    "SUBSYSTEM==\"hidraw\", KERNELS==\"*:2704:2018.*\", GROUP=\"plugdev\", MODE=\"0660\"\n");
         fake.session("3", "ACTIVE=1\nREMOTE=1\n");
     },
     std::nullopt, ""},
    {"NoAccessOtherwise", NoAcl, Cause::NoAccess, "you may not open /dev/hidraw1 for writing"},
};

class DiagnosisCauses : public ::testing::TestWithParam<CauseCase> {};

TEST_P(DiagnosisCauses, NamesTheFirstCause) {
    FakeSystem fake;
    WorkingDesktop(fake);
    GetParam().change(fake);
    const Diagnosis diagnosis = DiagnosePedal(fake.system);
    EXPECT_EQ(diagnosis.canOpen, !GetParam().cause.has_value());
    ASSERT_EQ(diagnosis.cause.has_value(), GetParam().cause.has_value());
    if (diagnosis.cause) {
        EXPECT_EQ(diagnosis.cause->cause, *GetParam().cause);
        EXPECT_NE(CauseSentence(*diagnosis.cause).find(GetParam().sentence), std::string::npos)
            << CauseSentence(*diagnosis.cause);
    }
}

INSTANTIATE_TEST_SUITE_P(Fake, DiagnosisCauses, ::testing::ValuesIn(kCauseCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Diagnosis, TellsWhatEachCheckFound) {
    FakeSystem fake;
    WorkingDesktop(fake);
    const Diagnosis diagnosis = DiagnosePedal(fake.system);
    ASSERT_EQ(diagnosis.checks.size(), 5U);
    const std::vector<std::string> expected = {
        "present as 0003:2704:2018.0001, interfaces hidraw0 (USB interface 0: keyboard (0001:0006)), hidraw1 "
        "(USB "
        "interface 2: vendor-defined (FF00:0001)); the frames go to /dev/hidraw1",
        "/dev/hidraw0: owner root, group root, rw-------, no ACL entries; you may not open it for reading "
        "and "
        "writing (as others); /dev/hidraw1: owner root, group root, rw-rw----, ACL user alice rw-; you may "
        "open "
        "it for reading and writing (as the ACL entry for you)",
        "rule files naming the pedal: /usr/lib/udev/rules.d/70-treadkey.rules, before 73-seat-late.rules; "
        "/usr/lib/udev/rules.d/70-treadkey.rules hands the node out by uaccess",
        "udev's tags for /dev/hidraw1: seat, uaccess",
        "session 3: local on seat0, active",
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(diagnosis.checks[i].found, expected[i]);
        EXPECT_FALSE(diagnosis.checks[i].problem) << CheckName(diagnosis.checks[i].id);
    }
}

// Every cause has its own sentence and mend, so that none reads as another.
TEST(Diagnosis, EveryCauseHasItsOwnWords) {
    std::set<std::string> sentences;
    std::set<std::string> mends;
    for (int cause = 0; cause <= static_cast<int>(Cause::NoAccess); ++cause) {
        const Finding finding{static_cast<Cause>(cause), "/dev/hidraw1",
                              "/etc/udev/rules.d/70-treadkey.rules", "/etc/udev/rules.d/71-old.rules"};
        EXPECT_TRUE(sentences.insert(CauseSentence(finding)).second) << CauseSentence(finding);
        mends.insert(CauseMend(finding));
    }
    // The three session causes share the group rule as their mend.
    EXPECT_EQ(mends.size(), sentences.size() - 2);
}

struct AccessCase {
    const char* name;
    unsigned mode;
    std::vector<AclEntry> acl;
    std::vector<std::uint32_t> groups;
    bool canReadWrite;
};

// The POSIX ACL check: a named user's entry ends the search, the mask limits it, group entries combine.
TEST(NodeAccess, JudgesModeAndAcl) {
    const std::uint32_t fileGroup = static_cast<std::uint32_t>(getgid());
    using Tag = AclEntry::Tag;
    const AccessCase cases[] = {
        {"others may", 0666, {}, {}, true},
        {"owning group may", 0660, {}, {fileGroup}, true},
        {"owning group may read only", 0640, {}, {fileGroup}, false},
        {"user entry", 0660, {{Tag::User, 6, FakeSystem::kUser}}, {}, true},
        {"mask cuts the user entry", 0640, {{Tag::User, 6, FakeSystem::kUser}}, {}, false},
        {"user entry ends the search",
         0666,
         {{Tag::User, 4, FakeSystem::kUser}, {Tag::Other, 6, 0}},
         {},
         false},
        {"group entries combine", 0660, {{Tag::Group, 4, 7001}, {Tag::Group, 2, 7002}}, {7001, 7002}, true},
        {"a matching group denies others' bits", 0606, {{Tag::Group, 0, 7001}}, {7001}, false},
    };
    for (const AccessCase& row : cases) {
        FakeSystem fake;
        fake.node("hidraw1", row.mode);
        fake.system.user.groups = row.groups;
        if (!row.acl.empty()) {
            fake.acl("hidraw1", row.acl);
        }
        EXPECT_EQ(ReadNodeAccess(fake.system, "/dev/hidraw1").canReadWrite(), row.canReadWrite) << row.name;
    }
}

TEST(NodeAccess, RefusesWhatIsNoAcl) {
    EXPECT_FALSE(ParseAccessAcl(""));
    EXPECT_FALSE(ParseAccessAcl(std::string("\x01\0\0\0", 4)));                      // another version
    EXPECT_FALSE(ParseAccessAcl(std::string("\x02\0\0\0\x02\0\x06\0", 8)));          // a cut entry
    EXPECT_FALSE(ParseAccessAcl(std::string("\x02\0\0\0\x40\0\x06\0\0\0\0\0", 12))); // an unknown tag
    EXPECT_EQ(ParseAccessAcl(std::string("\x02\0\0\0\x02\0\x06\0\x88\x13\0\0", 12)),
              (std::vector<AclEntry>{{AclEntry::Tag::User, 6, 5000}}));
}

} // namespace
} // namespace treadkey
