#include "cli/monitor.h"

#include "cli/event_words.h"
#include "cli/exit_codes.h"
#include "cli/help_text.h"
#include "cli/interface_wording.h"
#include "cli/pedal_choice.h"
#include "cli/report_wait.h"
#include "pedal/interface_choice.h"
#include "pedal/pedal_hold.h"
#include "pedal/pedal_watch.h"
#include "protocol/pedal_ids.h"
#include "protocol/report_hex.h"
#include "record/record_file.h"
#include "record/utc_time.h"
#include "signals/stop_requests.h"
#include "stacks/pedal_identity.h"
#include "json/json.h"

#include <algorithm>
#include <vector>

namespace treadkey {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often the interfaces are listed again to notice a pedal that comes or goes, as the window's tick does.
constexpr milliseconds kFollowEvery{350};
// Reports taken from one interface before the others get their turn.
constexpr int kReportsPerTurn = 64;

// "1 second", "5 seconds".
std::string SecondsText(std::chrono::seconds::rep seconds) {
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

class Monitor {
public:
    Monitor(HidBackend& backend, const MonitorOptions& options, CliServices& services)
        : backend_(backend), options_(options), services_(services), watch_(backend), hold_(backend) {}

    int run() {
        const int exitCode = watchUntilDone();
        hold_.Release();
        return options_.verify != nullptr ? options_.verify->ExitCode() : exitCode;
    }

private:
    int watchUntilDone() {
        const Clock::time_point started = services_.now();
        deadline_ = options_.timeout ? started + *options_.timeout : Clock::time_point::max();
        Clock::time_point nextFollow = started;
        prompt();
        for (;;) {
            if (stop_.requested() || done()) {
                return kExitDone;
            }
            Clock::time_point now = services_.now();
            if (now >= nextFollow) {
                follow();
                nextFollow = now + kFollowEvery;
            }
            sayGone(watch_.ReadQueued(kReportsPerTurn, [this](const PedalWatch::Report& r) { print(r); }));
            if (done()) {
                return kExitDone;
            }
            now = services_.now();
            if (now >= deadline_ && options_.verify != nullptr) {
                verifyLines() << options_.verify->TimedOut() << std::endl;
                nextSlot();
                continue;
            }
            if (now >= deadline_) {
                return events_ > 0 ? kExitDone : nothingCame();
            }
            wait(std::chrono::duration_cast<milliseconds>(std::min(nextFollow, deadline_) - now));
        }
    }

    bool done() const {
        if (options_.verify != nullptr) {
            return !options_.verify->Current();
        }
        return (options_.count && events_ >= *options_.count) || (options_.identify && events_ > 0);
    }

    void prompt() {
        if (options_.verify != nullptr && options_.verify->Current()) {
            services_.err << kProgramName << ": " << options_.verify->Prompt() << waitWords("it")
                          << std::endl;
        } else if (options_.identify) {
            services_.err << kProgramName << ": press the pedal you mean" << waitWords("one") << std::endl;
        }
    }

    // Without --timeout the wait has no end, which the user would otherwise take for a hang.
    std::string waitWords(std::string_view pressed) const {
        if (!options_.timeout) {
            return ", waiting until " + std::string(pressed) + " is pressed (--timeout S stops waiting)";
        }
        return " within " +
               SecondsText(std::chrono::duration_cast<std::chrono::seconds>(*options_.timeout).count());
    }

    // Each slot has the whole timeout to be pressed in.
    void nextSlot() {
        if (options_.timeout) {
            deadline_ = services_.now() + *options_.timeout;
        }
        prompt();
    }

    void verify(const PedalEvent& event) {
        if (event.kind != PedalEvent::Kind::Press) {
            return;
        }
        verifyLines() << options_.verify->Pressed(event.inputs, UtcNowText()) << std::endl;
        nextSlot();
    }

    // With --json, standard output holds the one document that sums the verification up.
    std::ostream& verifyLines() { return options_.json ? services_.err : services_.out; }

    // The exit code alone would leave a script's user guessing whether the watch ran at all.
    int nothingCame() {
        services_.err << kProgramName << ": nothing was pressed within "
                      << SecondsText(
                             std::chrono::duration_cast<std::chrono::seconds>(*options_.timeout).count())
                      << '\n';
        return kExitDeviceError;
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
        if (options_.verify != nullptr) {
            // A slot holding Ctrl+C or Alt+F4 must do nothing while it is pressed to be checked.
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

    void sayGone(const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            services_.err << kProgramName << ": " << path << " is gone\n";
        }
        if (!paths.empty() && watch_.OpenCount() == 0) {
            services_.err << kProgramName << ": the pedal is gone: waiting for it to come back\n";
            waitingSaid_ = true;
        }
    }

    void print(const PedalWatch::Report& report) {
        if (!report.reading.known) {
            services_.err << kProgramName << ": " << report.path
                          << " sent a report its descriptor does not describe: "
                          << ReportHexLine(report.bytes) << '\n';
            return;
        }
        const std::string time =
            options_.json ? UtcText(std::chrono::system_clock::now(), UtcPrecision::Milliseconds) : "";
        for (const PedalEvent& event : report.reading.events) {
            if (done()) {
                return;
            }
            if (options_.identify) {
                identify(event, report.path);
                continue;
            }
            if (options_.verify != nullptr) {
                verify(event);
                continue;
            }
            services_.out << (options_.json ? EventJson(event, time, report.path, report.bytes)
                                            : EventLine(event))
                          << std::endl; // at once: a script reads it as it comes
            ++events_;
        }
    }

    // The first press names its pedal; releases (of a key held when the run began) do not count.
    void identify(const PedalEvent& event, const std::string& path) {
        if (event.kind != PedalEvent::Kind::Press || events_ > 0) {
            return;
        }
        const auto from = std::find_if(present_.begin(), present_.end(),
                                       [&path](const SeenInterface& s) { return s.interface.path == path; });
        const std::string pedal = from != present_.end() ? PedalOf(from->interface) : path;
        const auto named = options_.names.find(pedal);
        if (options_.json) {
            services_.out << "{\"pedal\": " << JsonQuoted(pedal) << ", \"name\": "
                          << (named != options_.names.end() ? JsonQuoted(named->second) : std::string("null"))
                          << ", \"interface\": " << JsonQuoted(path) << "}" << std::endl;
        } else {
            services_.out << PedalWithName(pedal, options_.names) << std::endl;
        }
        ++events_;
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
        WaitForReports(*descriptors, stop_, longest, services_.sleep);
    }

    HidBackend& backend_;
    const MonitorOptions& options_;
    CliServices& services_;
    PedalWatch watch_;
    PedalHold hold_;
    std::vector<UnheldInterface> unheldSaid_;
    Clock::time_point deadline_;
    std::vector<SeenInterface> present_; // the watched pedals' interfaces, from the last follow-up
    StopRequests stop_{StopOn::InterruptOrTerminate};
    int events_ = 0;
    bool waitingSaid_ = false;
};

} // namespace

int MonitorPedal(HidBackend& backend, const MonitorOptions& options, CliServices& services) {
    return Monitor(backend, options, services).run();
}

} // namespace treadkey
