#pragma once

#include "hid/descriptor_reader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace treadkey {

// The data of one Input main item: `count` values of `size` bits from `bitOffset` on (counted from the first
// byte after the report id). A variable field gives one usage a value; an array field's values each name a
// usage by its place in the list.
struct InputField {
    std::uint32_t bitOffset = 0;
    std::uint32_t size = 0;
    std::uint32_t count = 0;
    bool variable = false;
    std::int64_t logicalMinimum = 0;
    std::int64_t logicalMaximum = 0;
    std::vector<UsageRange> usages; // in declaration order

    // The usage at a place of the list; a variable field's values past the list take its last usage, an
    // array index past it names none.
    std::optional<HidUsage> UsageAt(std::uint64_t index) const;
};

// The input report with one id (0 when the interface does not number its reports).
struct InputReportLayout {
    std::uint8_t reportId = 0;
    std::uint32_t bits = 0; // data bits after the report id
    std::vector<InputField> fields;
};

struct InputLayout {
    bool numbered = false; // every report starts with its id
    std::vector<InputReportLayout> reports;

    const InputReportLayout* Find(std::uint8_t reportId) const;
};

// The input reports a report descriptor declares; nothing when ReadDescriptor refuses it.
std::optional<InputLayout> InputLayoutFromDescriptor(std::span<const std::uint8_t> descriptor);

// The boot protocol's reports, for an interface whose descriptor cannot be read: a modifier byte, a reserved
// byte and six key codes (and five LEDs of output); three buttons and X and Y.
std::span<const std::uint8_t> BootKeyboardDescriptor();
std::span<const std::uint8_t> BootMouseDescriptor();
const InputLayout& BootKeyboardLayout();
const InputLayout& BootMouseLayout();

} // namespace treadkey
