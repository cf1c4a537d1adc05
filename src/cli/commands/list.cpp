#include "cli/commands/command.h"
#include "cli/interface_wording.h"
#include "cli/pedal_choice.h"
#include "diagnosis/refusal_cause.h"
#include "pedal/discovery_words.h"
#include "pedal/interface_choice.h"
#include "protocol/pedal_ids.h"
#include "json/json.h"

#include <string>

namespace treadkey {
namespace {

void PrintLines(const DiscoveryReport& report, const PedalNames& names, std::ostream& out) {
    const std::string chosen = ChosenPath(report);
    out << "pedal " << PedalWithName(report.pedal, names) << '\n';
    for (const SeenInterface& seen : report.seen) {
        out << "  " << seen.interface.path << ": " << DescribeCollections(seen.interface) << "; ";
        if (seen.opens) {
            out << "opens, output report length "
                << (seen.outputReportLength ? ByteCount(*seen.outputReportLength) : std::string("unknown"));
        } else {
            out << "cannot be opened: " << seen.openProblem;
        }
        out << "; " << DescribeVerdict(seen, chosen);
        if (const std::string warning = ShortReportWarning(seen); !warning.empty()) {
            out << ", but " << warning;
        }
        out << '\n';
    }
}

std::string JsonTextOrNull(const std::string& text) {
    return text.empty() ? "null" : JsonQuoted(text);
}

void PrintJson(const DiscoveryReport& report, const PedalNames& names, std::ostream& out) {
    const std::string chosen = ChosenPath(report);
    const auto named = names.find(report.pedal);
    out << "    {\"id\": " << JsonQuoted(report.pedal)
        << ", \"name\": " << (named != names.end() ? JsonQuoted(named->second) : std::string("null"))
        << ",\n     \"interfaces\": [";
    for (std::size_t i = 0; i < report.seen.size(); ++i) {
        const SeenInterface& seen = report.seen[i];
        out << (i == 0 ? "\n" : ",\n") << "       {\"path\": " << JsonQuoted(seen.interface.path)
            << ", \"collections\": [";
        for (std::size_t c = 0; c < seen.interface.collections.size(); ++c) {
            const HidCollection collection = seen.interface.collections[c];
            out << (c == 0 ? "" : ", ") << "{\"usage_page\": " << collection.page
                << ", \"usage\": " << collection.usage
                << ", \"name\": " << JsonQuoted(CollectionKindName(CollectionKindOf(collection))) << "}";
        }
        out << "], \"opens\": " << (seen.opens ? "true" : "false") << ", \"output_report_length\": "
            << (seen.outputReportLength ? std::to_string(*seen.outputReportLength) : std::string("null"))
            << ", \"open_problem\": " << JsonTextOrNull(seen.openProblem)
            << ", \"verdict\": " << JsonQuoted(VerdictName(seen.verdict))
            << ", \"reason\": " << JsonQuoted(DescribeVerdict(seen, chosen))
            << ", \"warning\": " << JsonTextOrNull(ShortReportWarning(seen)) << "}";
    }
    out << "\n     ],\n     \"frames_go_to\": " << JsonTextOrNull(chosen) << "}";
}

class ListCommand final : public Command {
public:
    ListCommand()
        : Command(
              {.name = "list",
               .options = {{"--json", "", "print the same as one JSON document, for scripts and bug reports",
                            true}},
               .summary = "the pedals, their HID interfaces and which one takes the frames",
               .details =
                   R"(Lists the pedals plugged in, each under a line with its identity (and its nickname, see 'name'),
then its HID interfaces with the pedal's ids (vendor 2704, product 2018), in the order the system
gives them. A pedal's identity is its USB serial number where it has one (serial:ABC123), else the
port it is plugged into (usb-1-2.3); --pedal takes it. For each interface: the path, its top-level collections (usage page and usage, named where standard),
whether it can be opened and its output report length, and which one the pedal's frames go to: the
first that opens of those the system does not keep to itself. Keyboard, mouse, pen and touch
interfaces are passed over, so a real pedal's keyboard and mouse never receive frames. An interface
that cannot be opened says why; a permission refused is put down to the first cause that
'treadkeyctl doctor' finds (no udev rule 70-treadkey.rules, one not applied, a remote session...;
every cause is in /usr/share/doc/treadkey-setup/docs/when-the-pedal-will-not-open.md, where the
package puts the docs). An output report shorter than 8 bytes cuts every frame: it may not be the
configuration interface.
)",
               .need = PedalNeed::AnyOrAll,
               .use = PedalUse::Opens}) {}

    int Run(const CommandRun& run) override {
        std::ostream& out = run.services.out;
        const SystemRoot system = run.services.lookAtSystem();
        std::vector<DiscoveryReport> pedals =
            DiscoverPedals(*run.hid, kPedalVendorId, kPedalProductId, Opening::Every);
        std::erase_if(
            pedals, [&run](const DiscoveryReport& r) { return !run.pedal.empty() && r.pedal != run.pedal; });
        for (DiscoveryReport& report : pedals) {
            ExplainRefusals(report, system);
        }
        if (Given().Has("--json")) {
            out << "{\n  \"pedals\": [";
            for (std::size_t p = 0; p < pedals.size(); ++p) {
                out << (p == 0 ? "\n" : ",\n");
                PrintJson(pedals[p], run.names, out);
            }
            out << (pedals.empty() ? "]\n}\n" : "\n  ]\n}\n");
        } else {
            for (const DiscoveryReport& report : pedals) {
                PrintLines(report, run.names, out);
            }
        }
        if (pedals.empty()) {
            return Fail(run.services, std::string(kNoPedalFound) + ": is it plugged in?", kExitDeviceError);
        }
        return kExitDone;
    }
};

} // namespace

extern const CommandMaker MakeListCommand = MakeCommandOf<ListCommand>;

} // namespace treadkey
