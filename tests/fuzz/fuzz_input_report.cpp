#include "fuzz/fuzz_check.h"
#include "hid/input_changes.h"
#include "hid/input_layout.h"
#include "hid/input_report.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// Input: a length byte, that many descriptor bytes, then reports, each a length byte followed by that many
// bytes (the last one cut short by the end of the input). Every report is decoded alone and through one
// interface's tracker, each from an exactly sized heap copy.

namespace {

using treadkey::DecodedInputReport;
using treadkey::HeldInputs;
using treadkey::InputLayout;
using treadkey::PedalEvent;
using treadkey::fuzz::Require;

// Bytes on the heap, sized exactly, so that AddressSanitizer stops a read one byte past them.
struct HeapBytes {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size;

    HeapBytes(const std::uint8_t* data, std::size_t length)
        : bytes(std::make_unique<std::uint8_t[]>(length)), size(length) {
        if (length > 0) {
            std::memcpy(bytes.get(), data, length);
        }
    }
    std::span<const std::uint8_t> span() const { return {bytes.get(), size}; }
};

template <typename T> bool Unique(const std::vector<T>& list) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (std::count(list.begin(), list.end(), list[i]) != 1) {
            return false;
        }
    }
    return true;
}

void CheckHeld(const HeldInputs& held) {
    Require(Unique(held.keys) && Unique(held.other), "each usage is listed once");
    for (const std::uint16_t key : held.keys) {
        Require(key > 3, "no key is 'no event' or a keyboard error code");
        Require(key < 0xE0 || key > 0xE7, "modifiers go to the modifier byte, not the keys");
    }
}

void CheckDecoded(const InputLayout& layout, std::span<const std::uint8_t> report) {
    const std::optional<DecodedInputReport> decoded = treadkey::DecodeInputReport(layout, report);
    if (!decoded) {
        return;
    }
    const std::uint8_t reportId = layout.numbered ? report[0] : 0;
    Require(decoded->reportId == reportId, "the report id is the report's first byte, or 0 unnumbered");
    const treadkey::InputReportLayout* laidOut = layout.Find(reportId);
    Require(laidOut != nullptr, "a decoded report has a layout");
    const std::size_t dataBytes = report.size() - (layout.numbered ? 1 : 0);
    Require(std::uint64_t{dataBytes} * 8 >= laidOut->bits, "a report shorter than its layout is unknown");
    CheckHeld(decoded->held);
    // Cut one byte below its layout, the same report must be unknown.
    const std::size_t needed = (laidOut->bits + 7) / 8 + (layout.numbered ? 1 : 0);
    const HeapBytes cut(report.data(), needed - 1);
    Require(!treadkey::DecodeInputReport(layout, cut.span()).has_value(), "a cut report is unknown");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t descriptorLength = std::min<std::size_t>(data[0], size - 1);
    const HeapBytes descriptor(data + 1, descriptorLength);
    const std::optional<InputLayout> layout = treadkey::InputLayoutFromDescriptor(descriptor.span());
    if (descriptorLength == 0) {
        Require(!layout.has_value(), "an empty descriptor lays out nothing");
    }
    treadkey::InterfaceInput input(
        std::vector<std::uint8_t>(descriptor.span().begin(), descriptor.span().end()), {{0x01, 0x06}});
    std::size_t pos = 1 + descriptorLength;
    while (pos < size) {
        const std::size_t length = std::min<std::size_t>(data[pos], size - pos - 1);
        const HeapBytes report(data + pos + 1, length);
        pos += 1 + length;
        if (layout) {
            CheckDecoded(*layout, report.span());
        }
        const treadkey::InterfaceInput::Reading first = input.Read(report.span());
        for (const PedalEvent& event : first.events) {
            Require(!event.inputs.empty(), "an event names something");
            CheckHeld(event.inputs);
        }
        Require(first.known || first.events.empty(), "an unknown report makes no event");
        // The same picture again changes nothing.
        Require(input.Read(report.span()).events.empty(), "a repeated report makes no event");
    }
    return 0;
}
