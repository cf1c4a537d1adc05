#include "pedal/interface_choice.h"

#include "hid/collection_kind.h"
#include "protocol/frame_layout.h"
#include "stacks/pedal_identity.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace treadkey {
namespace {

bool IsCandidate(const SeenInterface& seen) {
    return !IsPassedOver(seen.interface.collections);
}

bool TakesWholeFrames(const SeenInterface& seen) {
    return IsCandidate(seen) && seen.opens && seen.outputReportLength &&
           *seen.outputReportLength >= kFrameReportLength;
}

// Whether a walk in enumeration order may stop opening candidates: one seen so far takes the frames
// whatever comes after it.
bool ChoiceIsSettled(const std::vector<SeenInterface>& seen) {
    return std::any_of(seen.begin(), seen.end(), TakesWholeFrames);
}

// The present interfaces with the ids, in enumeration order.
std::vector<HidInterface> PedalInterfaces(HidBackend& backend, std::uint16_t vendorId,
                                          std::uint16_t productId) {
    std::vector<HidInterface> present = backend.enumerate(vendorId, productId);
    std::erase_if(present,
                  [&](const HidInterface& i) { return i.vendorId != vendorId || i.productId != productId; });
    return present;
}

std::vector<std::string> PedalsIn(const std::vector<HidInterface>& interfaces) {
    std::vector<std::string> pedals;
    for (const HidInterface& interface : interfaces) {
        if (std::string pedal = PedalOf(interface);
            std::find(pedals.begin(), pedals.end(), pedal) == pedals.end()) {
            pedals.push_back(std::move(pedal));
        }
    }
    return pedals;
}

// Records, opens and judges the interfaces of one pedal; returns the chosen one still open.
std::unique_ptr<HidDevice> WalkPedal(HidBackend& backend, std::vector<HidInterface> interfaces,
                                     Opening opening, DiscoveryReport& report, const std::string& pedal) {
    report.seen.clear();
    report.pedal = interfaces.empty() ? std::string() : pedal;
    std::vector<std::unique_ptr<HidDevice>> opened; // by place in report.seen, while it may be chosen
    for (HidInterface& candidate : interfaces) {
        // Every interface of the pedal is recorded, so that its keyboards and mice are known wherever they
        // stand in the enumeration; one past a settled choice, or passed over, can never be chosen.
        const bool mayBeChosen = !ChoiceIsSettled(report.seen) && !IsPassedOver(candidate.collections);
        SeenInterface& seen = report.seen.emplace_back();
        seen.interface = std::move(candidate);
        std::unique_ptr<HidDevice>& kept = opened.emplace_back();
        if (opening == Opening::None || (opening == Opening::Candidates && !mayBeChosen)) {
            continue;
        }
        seen.tried = true;
        OpenResult result = backend.open(seen.interface.path);
        if (!result.device) {
            seen.openFailure = result.failure;
            seen.openProblem = std::move(result.problem);
            continue;
        }
        seen.opens = true;
        seen.outputReportLength = result.device->outputReportLength();
        if (mayBeChosen) {
            kept = std::move(result.device);
        }
    }
    JudgeInterfaces(report.seen);
    report.note = NoteFor(report.seen);
    for (std::size_t i = 0; i < opened.size(); ++i) {
        if (report.seen[i].verdict == InterfaceVerdict::Chosen) {
            return std::move(opened[i]);
        }
    }
    return nullptr; // the others close here
}

} // namespace

void JudgeInterfaces(std::vector<SeenInterface>& seen) {
    auto chosen = std::find_if(seen.begin(), seen.end(), TakesWholeFrames);
    const bool whole = chosen != seen.end();
    if (!whole) {
        chosen = std::find_if(seen.begin(), seen.end(),
                              [](const SeenInterface& s) { return IsCandidate(s) && s.opens; });
    }
    for (auto it = seen.begin(); it != seen.end(); ++it) {
        if (!IsCandidate(*it)) {
            it->verdict = InterfaceVerdict::HeldBySystem;
        } else if (it == chosen) {
            it->verdict = InterfaceVerdict::Chosen;
        } else if (it->tried && !it->opens) {
            it->verdict = InterfaceVerdict::DoesNotOpen;
        } else if (whole && it < chosen) {
            it->verdict = InterfaceVerdict::CannotHoldFrame;
        } else {
            it->verdict = InterfaceVerdict::NotChosen;
        }
    }
}

const SeenInterface* ChosenInterface(const DiscoveryReport& report) {
    const auto chosen = std::find_if(report.seen.begin(), report.seen.end(), [](const SeenInterface& s) {
        return s.verdict == InterfaceVerdict::Chosen;
    });
    return chosen != report.seen.end() ? &*chosen : nullptr;
}

std::string ChosenPath(const DiscoveryReport& report) {
    const SeenInterface* chosen = ChosenInterface(report);
    return chosen ? chosen->interface.path : std::string();
}

std::unique_ptr<HidDevice> DiscoverInterfaces(HidBackend& backend, std::uint16_t vendorId,
                                              std::uint16_t productId, Opening opening,
                                              DiscoveryReport& report, std::string_view pedal) {
    std::vector<HidInterface> present = PedalInterfaces(backend, vendorId, productId);
    report.pedals = PedalsIn(present);
    const std::string wanted = !pedal.empty()          ? std::string(pedal)
                               : report.pedals.empty() ? std::string()
                                                       : report.pedals.front();
    std::erase_if(present, [&wanted](const HidInterface& i) { return PedalOf(i) != wanted; });
    return WalkPedal(backend, std::move(present), opening, report, wanted);
}

std::vector<DiscoveryReport> DiscoverPedals(HidBackend& backend, std::uint16_t vendorId,
                                            std::uint16_t productId, Opening opening) {
    const std::vector<HidInterface> present = PedalInterfaces(backend, vendorId, productId);
    const std::vector<std::string> pedals = PedalsIn(present);
    std::vector<DiscoveryReport> reports(pedals.size());
    for (std::size_t p = 0; p < pedals.size(); ++p) {
        std::vector<HidInterface> interfaces;
        std::copy_if(present.begin(), present.end(), std::back_inserter(interfaces),
                     [&](const HidInterface& i) { return PedalOf(i) == pedals[p]; });
        reports[p].pedals = pedals;
        WalkPedal(backend, std::move(interfaces), opening, reports[p], pedals[p]);
    }
    return reports;
}

} // namespace treadkey
