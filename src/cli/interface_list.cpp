#include "cli/interface_list.h"

#include "cli/exit_codes.h"
#include "cli/help_text.h"
#include "cli/interface_wording.h"
#include "cli/pedal_choice.h"
#include "diagnosis/refusal_cause.h"
#include "pedal/discovery_words.h"
#include "pedal/interface_choice.h"
#include "protocol/pedal_ids.h"
#include "json/json.h"

#include <optional>
#include <string>

namespace treadkey {
namespace {

std::string_view VerdictName(InterfaceVerdict verdict) {
    switch (verdict) {
    case InterfaceVerdict::Chosen:
        return "chosen";
    case InterfaceVerdict::HeldBySystem:
        return "held by the system";
    case InterfaceVerdict::DoesNotOpen:
        return "cannot be opened";
    case InterfaceVerdict::CannotHoldFrame:
        return "report too short";
    case InterfaceVerdict::NotChosen:
        break;
    }
    return "not chosen";
}

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

} // namespace

int ListPedalInterfaces(HidBackend& backend, const SystemRoot& system, bool json, const std::string& pedal,
                        const PedalNames& names, std::ostream& out, std::ostream& err) {
    std::vector<DiscoveryReport> pedals =
        DiscoverPedals(backend, kPedalVendorId, kPedalProductId, Opening::Every);
    std::erase_if(pedals, [&pedal](const DiscoveryReport& r) { return !pedal.empty() && r.pedal != pedal; });
    for (DiscoveryReport& report : pedals) {
        ExplainRefusals(report, system);
    }
    if (json) {
        out << "{\n  \"pedals\": [";
        for (std::size_t p = 0; p < pedals.size(); ++p) {
            out << (p == 0 ? "\n" : ",\n");
            PrintJson(pedals[p], names, out);
        }
        out << (pedals.empty() ? "]\n}\n" : "\n  ]\n}\n");
    } else {
        for (const DiscoveryReport& report : pedals) {
            PrintLines(report, names, out);
        }
    }
    if (pedals.empty()) {
        err << kProgramName << ": " << kNoPedalFound << ": is it plugged in?\n";
        return kExitDeviceError;
    }
    return kExitDone;
}

} // namespace treadkey
