#pragma once

#include "hid/input_changes.h"
#include "pedal/discovery_report.h"
#include "stacks/hid_backend.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace treadkey {

// Keeps one read-only handle open on each keyboard and mouse interface of the pedal while its node stays, so
// that every input report the pedal sends reaches a decoder exactly once. It writes nothing.
class PedalWatch {
public:
    explicit PedalWatch(HidBackend& backend) : backend_(backend) {}

    // An interface whose collections include a keyboard, keypad, mouse or pointer: one the pedal types or
    // clicks through.
    static bool IsWatched(const HidInterface& interface);

    struct Change {
        std::vector<HidInterface> opened;
        std::vector<std::string> closed; // gone from the list
        std::vector<OpenResult> refused; // each failure once, until its interface goes or opens
    };
    // Follows the present interfaces with the pedal's ids, as a discovery run saw them: opens the watched
    // ones not yet open (trying a refused one again each time) and closes those that are no longer present.
    Change Follow(const std::vector<SeenInterface>& present);

    struct Report {
        const std::string& path;
        std::span<const std::uint8_t> bytes;
        const InterfaceInput::Reading& reading;
    };
    // Takes up to `maxPerInterface` queued reports from each open interface, without waiting, oldest first;
    // an interface whose read fails is closed and named in the result, so that the next Follow may open it
    // again if its node is back.
    std::vector<std::string> ReadQueued(int maxPerInterface,
                                        const std::function<void(const Report&)>& onReport);

    // The descriptors to wait on; only when every open interface has one.
    std::optional<std::vector<int>> PollDescriptors() const;
    std::size_t OpenCount() const { return watched_.size(); }
    // Whether what the open interfaces last sent holds any key or button down.
    bool Holding() const;

private:
    struct Watched {
        HidInterface interface;
        std::unique_ptr<HidDevice> device;
        InterfaceInput input;
    };

    HidBackend& backend_;
    std::vector<Watched> watched_;
    std::set<std::string> refused_;
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(kReadBufferSize);
    static constexpr std::size_t kReadBufferSize =
        4096; // past the longest input report of a keyboard or mouse
};

} // namespace treadkey
