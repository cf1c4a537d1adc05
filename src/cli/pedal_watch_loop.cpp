#include "cli/pedal_watch_loop.h"

#include "cli/commands/command.h"
#include "cli/help_text.h"
#include "cli/interface_wording.h"
#include "pedal/interface_choice.h"
#include "pedal/pedal_hold.h"
#include "pedal/pedal_watch.h"
#include "protocol/pedal_ids.h"
#include "protocol/report_hex.h"
#include "signals/stop_requests.h"
#include "stacks/pedal_identity.h"

#include <algorithm>
#include <vector>

namespace treadkey {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often the interfaces are listed again to notice a pedal that comes or goes, as the window's tick does.
constexpr milliseconds kFollowEvery{350};
// Where some interface offers nothing to wait on, its queue is looked at this often.
constexpr milliseconds kLookEvery{5};
// Reports taken from one interface before the others get their turn.
constexpr int kReportsPerTurn = 64;

// "1 second", "5 seconds".
std::string SecondsText(milliseconds duration) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration).count();
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

class WatchLoop {
public:
    WatchLoop(HidBackend& backend, const WatchOptions& options, PressHandler& handler, CliServices& services)
        : backend_(backend), options_(options), handler_(handler), services_(services), watch_(backend),
          hold_(backend) {}

    int run() {
        const int exitCode = watchUntilDone();
        hold_.Release();
        return exitCode;
    }

private:
    int watchUntilDone() {
        const Clock::time_point started = services_.now();
        deadline_ = options_.timeout ? started + *options_.timeout : Clock::time_point::max();
        Clock::time_point nextFollow = started;
        handler_.Prompt();
        for (;;) {
            if (stop_.requested() || handler_.Done()) {
                return kExitDone;
            }
            Clock::time_point now = services_.now();
            if (now >= nextFollow) {
                follow();
                nextFollow = now + kFollowEvery;
            }
            sayGone(watch_.ReadQueued(kReportsPerTurn, [this](const PedalWatch::Report& r) { hand(r); }));
            if (handler_.Done()) {
                return kExitDone;
            }
            now = services_.now();
            if (now >= deadline_) {
                if (const std::optional<int> exitCode = handler_.TimeUp()) {
                    return *exitCode;
                }
                startOver();
                continue;
            }
            wait(std::chrono::duration_cast<milliseconds>(std::min(nextFollow, deadline_) - now));
        }
    }

    void startOver() {
        if (options_.timeout) {
            deadline_ = services_.now() + *options_.timeout;
        }
        handler_.Prompt();
    }

    void follow() {
        present_.clear();
        for (DiscoveryReport& pedal :
             DiscoverPedals(backend_, kPedalVendorId, kPedalProductId, Opening::None)) {
            if (options_.pedal.empty() || pedal.pedal == options_.pedal) {
                present_.insert(present_.end(), pedal.seen.begin(), pedal.seen.end());
            }
        }
        const PedalWatch::Change change = watch_.Follow(present_);
        if (options_.holdKeys) {
            hold();
        }
        sayGone(change.closed);
        for (const OpenResult& refused : change.refused) {
            services_.err << kProgramName << ": " << refused.problem << '\n';
        }
        for (const HidInterface& interface : change.opened) {
            services_.err << kProgramName << ": watching " << interface.path << ": "
                          << DescribeCollections(interface) << '\n';
        }
        if (watch_.OpenCount() == 0 && !waitingSaid_) {
            services_.err << kProgramName << ": "
                          << (present_.empty()
                                  ? std::string(kNoPedalFound)
                                  : "the pedal has no keyboard or mouse interface that can be read")
                          << ": waiting for it\n";
            waitingSaid_ = true;
        }
        waitingSaid_ = waitingSaid_ && watch_.OpenCount() == 0;
    }

    void hold() {
        hold_.Follow(present_);
        for (const UnheldInterface& unheld : hold_.Unheld()) {
            if (std::find(unheldSaid_.begin(), unheldSaid_.end(), unheld) == unheldSaid_.end()) {
                services_.err << kProgramName << ": warning: " << unheld.path
                              << " is not held, so its keys reach the desktop too"
                              << (unheld.problem.empty() ? "" : ": " + unheld.problem) << '\n';
            }
        }
        unheldSaid_ = hold_.Unheld();
    }

    void sayGone(const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            services_.err << kProgramName << ": " << path << " is gone\n";
        }
        if (!paths.empty() && watch_.OpenCount() == 0) {
            services_.err << kProgramName << ": the pedal is gone: waiting for it to come back\n";
            waitingSaid_ = true;
        }
    }

    void hand(const PedalWatch::Report& report) {
        if (!report.reading.known) {
            services_.err << kProgramName << ": " << report.path
                          << " sent a report its descriptor does not describe: "
                          << ReportHexLine(report.bytes) << '\n';
            return;
        }
        const auto when = services_.utcNow();
        for (const PedalEvent& event : report.reading.events) {
            if (handler_.Done()) {
                return;
            }
            if (handler_.Take({event, report.path, report.bytes, when, pedalOf(report.path)})) {
                startOver();
            }
        }
    }

    std::string pedalOf(const std::string& path) const {
        const auto from = std::find_if(present_.begin(), present_.end(),
                                       [&path](const SeenInterface& s) { return s.interface.path == path; });
        return from != present_.end() ? PedalOf(from->interface) : path;
    }

    // Until a report is queued, the next follow-up, a stop signal or the time given.
    void wait(milliseconds longest) {
        if (longest <= milliseconds::zero()) {
            return;
        }
        const std::optional<std::vector<int>> descriptors = watch_.PollDescriptors();
        // With nothing open there is nothing to wait on but the next look at the list.
        if (!descriptors || descriptors->empty()) {
            services_.sleep(watch_.OpenCount() > 0 ? std::min(longest, kLookEvery) : longest);
            return;
        }
        stop_.Wait(*descriptors, longest);
    }

    HidBackend& backend_;
    const WatchOptions& options_;
    PressHandler& handler_;
    CliServices& services_;
    PedalWatch watch_;
    PedalHold hold_;
    std::vector<UnheldInterface> unheldSaid_;
    Clock::time_point deadline_;
    std::vector<SeenInterface> present_; // the watched pedals' interfaces, from the last follow-up
    StopRequests stop_{StopOn::InterruptOrTerminate};
    bool waitingSaid_ = false;
};

} // namespace

int WatchPedal(HidBackend& backend, const WatchOptions& options, PressHandler& handler,
               CliServices& services) {
    return WatchLoop(backend, options, handler, services).run();
}

std::string WaitWords(const std::optional<milliseconds>& timeout, std::string_view pressed) {
    if (!timeout) {
        return ", waiting until " + std::string(pressed) + " is pressed (--timeout S stops waiting)";
    }
    return " within " + SecondsText(*timeout);
}

int NothingPressedWithin(milliseconds timeout, CliServices& services) {
    return Fail(services, "nothing was pressed within " + SecondsText(timeout), kExitDeviceError);
}

} // namespace treadkey
