#include "diagnosis/diagnosis.h"

#include "diagnosis/system_records.h"
#include "hid/collection_kind.h"
#include "pedal/discovery_words.h"
#include "pedal/interface_choice.h"
#include "protocol/pedal_ids.h"

#include <algorithm>

namespace treadkey {
namespace {

std::string Joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : std::string(separator)) + part;
    }
    return text.empty() ? "none" : text;
}

std::string DescribeNode(const PedalNode& node) {
    std::vector<std::string> collections;
    for (const HidCollection& collection : node.collections) {
        collections.push_back(std::string(CollectionKindName(CollectionKindOf(collection))) + " (" +
                              UsageHex(collection) + ")");
    }
    return node.name + " (" +
           (node.usbInterface ? "USB interface " + std::to_string(*node.usbInterface) + ": "
                              : std::string()) +
           Joined(collections, ", ") + ")";
}

std::string AclText(const SystemRoot& system, const std::vector<AclEntry>& acl) {
    std::vector<std::string> entries;
    for (const AclEntry& entry : acl) {
        if (entry.tag == AclEntry::Tag::User) {
            entries.push_back("user " + UserName(system, entry.id) + " " +
                              ModeText(entry.permissions).substr(6));
        } else if (entry.tag == AclEntry::Tag::Group) {
            entries.push_back("group " + GroupName(system, entry.id) + " " +
                              ModeText(entry.permissions).substr(6));
        }
    }
    return entries.empty() ? "no ACL entries" : "ACL " + Joined(entries, ", ");
}

std::string DescribeAccess(const SystemRoot& system, const PedalNode& node, const NodeAccess& access) {
    if (!access.exists) {
        return node.node.string() + " is missing";
    }
    return node.node.string() + ": owner " + UserName(system, access.owner) + ", group " +
           GroupName(system, access.group) + ", " + ModeText(access.mode) + ", " +
           AclText(system, access.acl) + "; you " + (access.canReadWrite() ? "may" : "may not") +
           " open it for reading and writing (as " + access.grantedBy + ")";
}

Finding Found(Cause cause, std::string node = {}, std::string file = {}, std::string otherFile = {}) {
    return {cause, std::move(node), std::move(file), std::move(otherFile)};
}

Check Checked(CheckId id, std::string found = {}) {
    return {id, std::move(found), std::nullopt};
}

// Everything the checks after the first share.
struct Seen {
    const SystemRoot& system;
    const PedalNode& target; // the node of the interface that takes the frames, or would
    const NodeAccess& access;
    std::vector<RuleFile> rules;
};

Check RuleCheck(const Seen& seen, const RuleFile*& working) {
    Check check = Checked(CheckId::Rule);
    std::vector<std::string> named;
    const RuleFile* maskedWorking = nullptr;
    const RuleFile* lateUaccess = nullptr;
    const RuleFile* firstNaming = nullptr;
    for (const RuleFile& rule : seen.rules) {
        if (!rule.namesPedal) {
            continue;
        }
        std::string text = rule.path.string();
        if (!rule.maskedBy.empty()) {
            text += " (masked by " + rule.maskedBy.string() + ")";
            maskedWorking = maskedWorking != nullptr || !rule.works() ? maskedWorking : &rule;
        } else {
            working = working != nullptr || !rule.works() ? working : &rule;
            lateUaccess = lateUaccess != nullptr || !rule.grantsHidraw ? lateUaccess : &rule;
            firstNaming = firstNaming != nullptr ? firstNaming : &rule;
        }
        if (rule.usesUaccess) {
            text += rule.sortsBeforeSeatLate() ? ", before 73-seat-late.rules" : ", after 73-seat-late.rules";
        }
        named.push_back(text);
    }
    check.found = "rule files naming the pedal: " + Joined(named, "; ");
    const std::string node = seen.target.node.string();
    if (working != nullptr) {
        check.found += "; " + working->path.string() + " hands the node out" +
                       (working->usesUaccess ? " by uaccess" : " to group '" + working->group + "'");
    } else if (maskedWorking != nullptr) {
        check.problem =
            Found(Cause::RuleMasked, node, maskedWorking->path.string(), maskedWorking->maskedBy.string());
    } else if (firstNaming == nullptr) {
        check.problem = Found(Cause::RuleMissing, node);
    } else if (lateUaccess != nullptr) {
        check.problem = Found(Cause::RuleAfterSeatLate, node, lateUaccess->path.string());
    } else {
        check.problem = Found(Cause::RuleWrongSubsystem, node, firstNaming->path.string());
    }
    return check;
}

Check AppliedCheck(const Seen& seen, const RuleFile* working) {
    Check check = Checked(CheckId::Applied);
    const std::string node = seen.target.node.string();
    if (!HasUdev(seen.system)) {
        check.found = "no udev database (run/udev/data)";
        check.problem = Found(Cause::NoUdev, node);
        return check;
    }
    const std::optional<std::vector<std::string>> tags = UdevTags(seen.system, seen.target.deviceNumber);
    check.found =
        tags ? "udev's tags for " + node + ": " + Joined(*tags, ", ") : "udev has no record of " + node;
    if (working == nullptr) {
        return check;
    }
    const bool applied =
        working->usesUaccess
            ? tags && std::ranges::find(*tags, "uaccess") != tags->end()
            : seen.access.exists && GroupName(seen.system, seen.access.group) == working->group;
    if (!applied) {
        check.problem = Found(Cause::RuleNotApplied, node, working->path.string());
    }
    return check;
}

Check SessionCheck(const Seen& seen, const RuleFile* working) {
    Check check = Checked(CheckId::Session);
    const std::string node = seen.target.node.string();
    if (InFlatpak(seen.system)) {
        check.found = "in a Flatpak sandbox; ";
    }
    if (working != nullptr && !working->usesUaccess) {
        const bool member = std::ranges::any_of(seen.system.user.groups, [&](std::uint32_t group) {
            return GroupName(seen.system, group) == working->group;
        });
        check.found += std::string("the group rule serves any session; you are ") + (member ? "" : "not ") +
                       "in group '" + working->group + "'";
        if (!member) {
            check.problem = Found(Cause::NotInGroup, node, working->group);
        }
        return check;
    }
    if (!HasLogind(seen.system)) {
        check.found += "no logind records (run/systemd/sessions)";
        check.problem = Found(Cause::NoLogind, node);
        return check;
    }
    const std::vector<SessionRecord> sessions = UserSessions(seen.system);
    const bool ownKnown = !sessions.empty() && sessions.front().id == seen.system.sessionId;
    // Without knowing its own session, the asker is as well served as its best one.
    const auto best =
        ownKnown
            ? sessions.begin()
            : std::ranges::find_if(sessions, [](const SessionRecord& s) { return !s.remote && s.active; });
    const SessionRecord* session = best != sessions.end() ? &*best
                                   : sessions.empty()     ? nullptr
                                                          : &sessions.front();
    if (session == nullptr) {
        check.found += "you have no logind session";
        check.problem = Found(Cause::NoSession, node);
        return check;
    }
    check.found +=
        "session " + session->id + ": " +
        (session->remote ? "remote" + (session->remoteHost.empty() ? "" : " from " + session->remoteHost)
                         : "local on " + (session->seat.empty() ? "no seat" : session->seat)) +
        ", " + (session->active ? "active" : "not active");
    if (session->remote) {
        check.problem = Found(Cause::RemoteSession, node);
    } else if (!session->active || session->seat.empty()) {
        check.problem = Found(Cause::InactiveSession, node);
    }
    return check;
}

} // namespace

Diagnosis DiagnosePedal(const SystemRoot& system) {
    Diagnosis diagnosis;
    const std::vector<PedalNode> nodes = FindPedalNodes(system);
    if (nodes.empty()) {
        diagnosis.checks.push_back(
            Checked(CheckId::Pedal, "no HID device with vendor 2704 and product 2018 in sysfs"));
        diagnosis.checks.back().problem = Found(Cause::NotPresent);
        diagnosis.cause = diagnosis.checks.back().problem;
        return diagnosis;
    }
    std::vector<NodeAccess> access;
    std::vector<SeenInterface> seen;
    for (const PedalNode& node : nodes) {
        access.push_back(ReadNodeAccess(system, node.node));
        SeenInterface interface;
        interface.interface = {node.node.string(), kPedalVendorId, kPedalProductId, node.collections};
        interface.tried = true;
        interface.opens = access.back().canReadWrite();
        interface.outputReportLength = node.outputReportLength;
        seen.push_back(interface);
    }
    JudgeInterfaces(seen);
    auto target = std::ranges::find(seen, InterfaceVerdict::Chosen, &SeenInterface::verdict);
    diagnosis.canOpen = target != seen.end();
    if (!diagnosis.canOpen) {
        target = std::ranges::find_if(
            seen, [](const SeenInterface& s) { return !IsPassedOver(s.interface.collections); });
    }
    std::vector<std::string> described;
    for (const PedalNode& node : nodes) {
        described.push_back(DescribeNode(node));
    }
    Check pedal = Checked(CheckId::Pedal, "present as " + nodes.front().hidDevice + ", interfaces " +
                                              Joined(described, ", "));
    if (target == seen.end()) {
        pedal.problem = Found(Cause::NoConfigurationInterface);
        diagnosis.checks.push_back(pedal);
        diagnosis.cause = pedal.problem;
        return diagnosis;
    }
    const auto index = static_cast<std::size_t>(target - seen.begin());
    pedal.found += "; the frames go to " + nodes[index].node.string();
    diagnosis.checks.push_back(pedal);

    Check nodesCheck = Checked(CheckId::Nodes);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        nodesCheck.found += (i == 0 ? "" : "; ") + DescribeAccess(system, nodes[i], access[i]);
    }
    const std::string targetNode = nodes[index].node.string();
    if (!access[index].exists) {
        nodesCheck.problem =
            Found(InFlatpak(system) ? Cause::SandboxHidesNode : Cause::NodeMissing, targetNode);
    } else if (!diagnosis.canOpen) {
        nodesCheck.problem = Found(Cause::NoAccess, targetNode);
    }
    diagnosis.checks.push_back(nodesCheck);

    const Seen state{system, nodes[index], access[index], FindRuleFiles(system)};
    const RuleFile* working = nullptr;
    diagnosis.checks.push_back(RuleCheck(state, working));
    diagnosis.checks.push_back(AppliedCheck(state, working));
    diagnosis.checks.push_back(SessionCheck(state, working));
    if (diagnosis.canOpen) {
        return diagnosis;
    }
    // A node without access is what every later cause leads to: it is the cause only when none of them is.
    for (const Check& check : diagnosis.checks) {
        if (check.problem && check.problem->cause != Cause::NoAccess) {
            diagnosis.cause = check.problem;
            return diagnosis;
        }
    }
    diagnosis.cause = nodesCheck.problem;
    return diagnosis;
}

} // namespace treadkey
