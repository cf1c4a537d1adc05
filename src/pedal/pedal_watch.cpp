#include "pedal/pedal_watch.h"

#include "hid/collection_kind.h"

#include <algorithm>
#include <utility>

namespace treadkey {

bool PedalWatch::IsWatched(const HidInterface& interface) {
    return std::any_of(interface.collections.begin(), interface.collections.end(), [](HidCollection c) {
        switch (CollectionKindOf(c)) {
        case CollectionKind::Keyboard:
        case CollectionKind::Keypad:
        case CollectionKind::Mouse:
        case CollectionKind::Pointer:
            return true;
        default:
            return false;
        }
    });
}

PedalWatch::Change PedalWatch::Follow(const std::vector<SeenInterface>& present) {
    Change change;
    const auto isPresent = [&](const std::string& path) {
        return std::any_of(present.begin(), present.end(),
                           [&](const SeenInterface& s) { return s.interface.path == path; });
    };
    for (auto it = watched_.begin(); it != watched_.end();) {
        if (isPresent(it->interface.path)) {
            ++it;
        } else {
            change.closed.push_back(it->interface.path);
            it = watched_.erase(it);
        }
    }
    std::erase_if(refused_, [&](const std::string& path) { return !isPresent(path); });

    for (const SeenInterface& listed : present) {
        const HidInterface& interface = listed.interface;
        const bool open = std::any_of(watched_.begin(), watched_.end(),
                                      [&](const Watched& w) { return w.interface.path == interface.path; });
        if (open || !IsWatched(interface)) {
            continue;
        }
        OpenResult opened = backend_.openReadOnly(interface.path);
        if (!opened.device) {
            if (refused_.insert(interface.path).second) {
                change.refused.push_back(std::move(opened));
            }
            continue;
        }
        refused_.erase(interface.path);
        InterfaceInput input(opened.device->reportDescriptor(), interface.collections);
        watched_.push_back({interface, std::move(opened.device), std::move(input)});
        change.opened.push_back(interface);
    }
    return change;
}

std::vector<std::string> PedalWatch::ReadQueued(int maxPerInterface,
                                                const std::function<void(const Report&)>& onReport) {
    std::vector<std::string> failed;
    for (auto it = watched_.begin(); it != watched_.end();) {
        bool gone = false;
        for (int taken = 0; taken < maxPerInterface; ++taken) {
            const int length = it->device->read(buffer_, 0);
            if (length <= 0) {
                gone = length < 0;
                break;
            }
            const std::span<const std::uint8_t> bytes(buffer_.data(), static_cast<std::size_t>(length));
            const InterfaceInput::Reading reading = it->input.Read(bytes);
            onReport({it->interface.path, bytes, reading});
        }
        if (gone) {
            failed.push_back(it->interface.path);
            it = watched_.erase(it);
        } else {
            ++it;
        }
    }
    return failed;
}

bool PedalWatch::Holding() const {
    return std::any_of(watched_.begin(), watched_.end(), [](const Watched& w) { return w.input.Holding(); });
}

std::optional<std::vector<int>> PedalWatch::PollDescriptors() const {
    std::vector<int> descriptors;
    for (const Watched& watched : watched_) {
        const int fd = watched.device->pollDescriptor();
        if (fd < 0) {
            return std::nullopt;
        }
        descriptors.push_back(fd);
    }
    return descriptors;
}

} // namespace treadkey
