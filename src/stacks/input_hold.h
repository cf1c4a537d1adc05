#pragma once

#include <memory>
#include <string>

namespace treadkey {

// The keyboards and mice that one HID interface types and clicks through, kept from the system's own input
// handling so that what the interface sends reaches this program's readers of the interface alone, and no
// window of this program or any other. Destroying it hands them back; the system hands them back by itself
// when the program ends, however it ends.
class InputHold {
public:
    virtual ~InputHold() = default;
    // The system has ended the hold, as it does when the device goes away; a replugged device needs a new
    // one.
    virtual bool ended() const = 0;
};

// Why an interface's input could not be held.
enum class HoldRefusal {
    NotOffered,       // this platform or backend has no way to hold input
    PermissionDenied, // an input node of the interface may not be opened
    Failed,           // anything else, such as another program holding it already
};

struct HoldResult {
    std::unique_ptr<InputHold> hold; // empty when refused
    HoldRefusal refusal = HoldRefusal::NotOffered;
    std::string problem; // refused for a reason other than NotOffered: why, and how to fix it where known
};

} // namespace treadkey
