#include "diagnosis/diagnosis_words.h"

#include <array>

namespace treadkey {
namespace {

constexpr std::string_view kReloadAndTrigger =
    "sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw";
constexpr std::string_view kGroupRule =
    "give the pedal to a group instead: GROUP=\"plugdev\", MODE=\"0660\" in place of TAG+=\"uaccess\" in "
    "70-treadkey.rules, then 'sudo usermod -aG plugdev $USER' and log in again";

std::string Folder(const std::string& file) {
    return std::filesystem::path(file).parent_path().string();
}

} // namespace

std::string CauseSentence(const Finding& finding) {
    switch (finding.cause) {
    case Cause::NotPresent:
        return "the pedal is not plugged in: no HID device with vendor 2704 and product 2018 is present";
    case Cause::NoConfigurationInterface:
        return "the pedal shows only keyboard and mouse interfaces, which the system keeps to itself";
    case Cause::SandboxHidesNode:
        return finding.node + " is hidden: the program runs in a Flatpak sandbox without access to devices";
    case Cause::NodeMissing:
        return finding.node + " is missing though the kernel lists it: udev has not made the node";
    case Cause::RuleMissing:
        return "no udev rule names the pedal, so only root may open " + finding.node;
    case Cause::RuleMasked:
        return finding.otherFile + " masks " + finding.file + ": udev reads only the first, which gives " +
               finding.node + " nothing";
    case Cause::RuleWrongSubsystem:
        return finding.file + " names the pedal but none of its rules matches hidraw nodes, so " +
               finding.node + " gets nothing";
    case Cause::RuleAfterSeatLate:
        return finding.file +
               " sorts after 73-seat-late.rules, where uaccess is acted on, so its tag comes " +
               "too late for " + finding.node;
    case Cause::NoUdev:
        return "udev does not run here, so no rule ever reaches " + finding.node;
    case Cause::RuleNotApplied:
        return finding.file + " is installed but udev has not applied it to " + finding.node +
               " yet: it needs a trigger or a replug";
    case Cause::NoLogind:
        return "this system has no logind, so the uaccess tag hands " + finding.node + " to nobody";
    case Cause::NoSession:
        return "you are not in a login session (cron, sudo or su), and uaccess serves only sessions";
    case Cause::RemoteSession:
        return "your session is remote (ssh), and uaccess hands " + finding.node +
               " only to the active local session";
    case Cause::InactiveSession:
        return "your session is not the active one on its seat, and uaccess hands " + finding.node +
               " only to that one";
    case Cause::NotInGroup:
        return "the rule gives " + finding.node + " to group '" + finding.file + "', and you are not in it";
    case Cause::NoAccess:
        break;
    }
    return "you may not open " + finding.node + " for writing, though rule, udev and session look right";
}

std::string CauseMend(const Finding& finding) {
    switch (finding.cause) {
    case Cause::NotPresent:
        return "plug the pedal in; 'lsusb -d 2704:2018' shows whether the computer sees it";
    case Cause::NoConfigurationInterface:
        return "plug the pedal straight into the computer and replug it";
    case Cause::SandboxHidesNode:
        return "flatpak override --user --device=all org.example.treadkey_setup";
    case Cause::NodeMissing:
        return "sudo udevadm trigger --subsystem-match=hidraw, or replug the pedal";
    case Cause::RuleMissing:
        return "sudo cp 70-treadkey.rules /etc/udev/rules.d/ && " + std::string(kReloadAndTrigger) +
               " (the package does this)";
    case Cause::RuleMasked:
        return "sudo rm " + finding.otherFile + " && " + std::string(kReloadAndTrigger);
    case Cause::RuleWrongSubsystem:
        return "match SUBSYSTEM==\"hidraw\", KERNELS==\"*:2704:2018.*\" in " + finding.file +
               " as 70-treadkey.rules does, then " + std::string(kReloadAndTrigger);
    case Cause::RuleAfterSeatLate:
        return "sudo mv " + finding.file + " " + Folder(finding.file) + "/70-treadkey.rules && " +
               std::string(kReloadAndTrigger);
    case Cause::NoUdev:
        return "in a container, pass the node in with access for you; otherwise run the program as root";
    case Cause::RuleNotApplied:
        return std::string(kReloadAndTrigger) + ", or replug the pedal";
    case Cause::NoLogind:
    case Cause::NoSession:
    case Cause::RemoteSession:
        return std::string(kGroupRule);
    case Cause::InactiveSession:
        return "switch to your session on the seat ('loginctl activate' from it)";
    case Cause::NotInGroup:
        return "sudo usermod -aG " + finding.file + " $USER, then log out and in again";
    case Cause::NoAccess:
        break;
    }
    return "see who may open it with 'getfacl " + finding.node + "', then replug the pedal";
}

std::string_view CheckName(CheckId id) {
    // In the order of CheckId.
    static constexpr std::array<std::string_view, 5> kNames = {"pedal", "nodes", "rule", "applied",
                                                               "session"};
    static_assert(kNames.size() == static_cast<std::size_t>(CheckId::Session) + 1);
    return kNames[static_cast<std::size_t>(id)];
}

} // namespace treadkey
