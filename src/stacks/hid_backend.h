#pragma once

#include "hid/hid_usage.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace treadkey {

// The whole of what the program needs from a platform's HID stack. A platform is one implementation of this
// seam; the discovery logic, the window and the command line see nothing else.

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

struct HidInterface {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    // Its top-level collections in descriptor order; read from the enumeration, so judging an interface by
    // them never opens it. Empty when the stack cannot tell.
    std::vector<HidCollection> collections;
    // The physical pedal the interface belongs to (see pedal_identity.h); empty when the backend cannot tell.
    std::string pedal = {};

    friend bool operator==(const HidInterface&, const HidInterface&) = default;
};

// An open HID interface; destroying it closes it.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Output report length in bytes, the report-id byte included, as the device's report descriptor declares
    // it; nothing when it cannot be told.
    virtual std::optional<int> outputReportLength() = 0;
    // Writes one output report (report id at index 0), blocking until done. Returns the number of bytes
    // written, or -1 when the write failed.
    virtual int write(std::span<const std::uint8_t> report) = 0;

    // Reading what the device sends. The system queues input reports for each open handle separately, from
    // its open on, so a reader that keeps its handle misses none.

    // Takes the oldest queued input report (report id first where the interface numbers its reports) into
    // `buffer`, waiting up to `timeoutMs` milliseconds for one; 0 takes only what is queued already. Returns
    // its length (a longer report is cut to the buffer), 0 when none came in time, -1 when the interface
    // failed or is gone.
    virtual int read(std::span<std::uint8_t> buffer, int timeoutMs) = 0;
    // The interface's report descriptor; nothing when it cannot be read.
    virtual std::optional<std::vector<std::uint8_t>> reportDescriptor() = 0;
    // A file descriptor that polls readable while a report is queued or the interface has failed, so that a
    // caller can wait on several devices at once; -1 where the platform has none (wait in read() instead).
    virtual int pollDescriptor() const { return -1; }
};

// Why an open failed, as the stack made it out; RefusedOpen words it, and callers that word it themselves (in
// another language, say) go by it.
enum class OpenFailure {
    Unknown,          // the system error code, where there is one, says what
    PermissionDenied, // a permission the user can be granted
    Gone,
    NotHid,
    KeptBySystem, // the system keeps the interface to itself
    InUse,        // access denied because another program has it open alone
    StackFailed,  // the HID stack itself did not start
    NotOffered,   // this platform cannot do it yet
    Unattributed, // the system hands its input over, but mixed with other devices'
};

struct OpenResult {
    std::unique_ptr<HidDevice> device; // empty when the open failed
    std::string problem;               // why it failed and, where known, how to fix it
    OpenFailure failure = OpenFailure::Unknown;
    std::error_code error = {}; // the system's own code, where it gave one
};

// Why an interface that another program opened unshared does not open, and what to do about it.
inline constexpr std::string_view kOpenedElsewhere = "another program has it open alone; close that program";

// A failed open of `path` as every stack reports it: the kind, the system's code (empty when it gave none)
// and the one sentence for them, which says why and, where known, how to fix it.
OpenResult RefusedOpen(const std::string& path, OpenFailure failure, std::error_code error);

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // The present HID interfaces in a stable order. A backend may leave out interfaces whose ids differ from
    // the wanted ones (so that it need not look closer at the user's other devices); callers still compare
    // ids.
    virtual std::vector<HidInterface> enumerate(std::uint16_t wantedVendorId,
                                                std::uint16_t wantedProductId) = 0;
    // Opens a path for reading and writing, shared with other openers.
    virtual OpenResult open(const std::string& path) = 0;
    // Opens a path for reading its input reports only, shared with other openers, the system's own keyboard
    // and mouse handling included; a write through the result fails. Needs read permission alone.
    virtual OpenResult openReadOnly(const std::string& path) = 0;
    // Holds the input of the interface at a path (see InputHold) for as long as the result lives. A backend
    // without such a hold refuses with NotOffered.
    virtual HoldResult holdInput(const std::string& /*path*/) { return {}; }
};

} // namespace treadkey
