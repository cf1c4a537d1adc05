// The one wording of a failed open, for every HID stack.
#include "stacks/hid_backend.h"

namespace treadkey {
namespace {

std::string Sentence(const std::string& path, OpenFailure failure, std::error_code error) {
    switch (failure) {
    case OpenFailure::PermissionDenied:
        return "permission denied on " + path +
               ": install the udev rule 70-treadkey.rules (see README) and replug the pedal";
    case OpenFailure::Gone:
        return "cannot open " + path + ": the device is gone; replug the pedal and try again";
    case OpenFailure::NotHid:
        return "cannot open " + path + ": not a HID device";
    case OpenFailure::KeptBySystem:
        return "cannot open " + path + " for writing: the system keeps it to itself";
    case OpenFailure::InUse:
        return "access denied on " + path + ": " + std::string(kOpenedElsewhere);
    case OpenFailure::StackFailed:
        return "cannot open " + path + ": the HID library failed to start";
    case OpenFailure::NotOffered:
        return "cannot read " + path + ": on Windows only the pedal's keyboard and mouse can be read";
    case OpenFailure::Unattributed:
        return "cannot read " + path + ": Windows' Raw Input does not tell its keystrokes and clicks from " +
               "other keyboards' and mice's";
    case OpenFailure::Unknown:
        break;
    }
    return "cannot open " + path + ": " + (error ? error.message() : std::string("no reason given"));
}

} // namespace

OpenResult RefusedOpen(const std::string& path, OpenFailure failure, std::error_code error) {
    return {nullptr, Sentence(path, failure, error), failure, error};
}

} // namespace treadkey
