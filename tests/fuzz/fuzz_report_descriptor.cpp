#include "fuzz/fuzz_check.h"
#include "hid/report_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using treadkey::fuzz::Require;
    // An exactly sized heap copy, so that AddressSanitizer stops any read one byte past the descriptor.
    const auto descriptor = std::make_unique<std::uint8_t[]>(size);
    if (size > 0) {
        std::memcpy(descriptor.get(), data, size);
    }
    const std::optional<int> length =
        treadkey::OutputReportLengthFromDescriptor(std::span<const std::uint8_t>(descriptor.get(), size));
    if (size == 0) {
        Require(!length.has_value(), "an empty descriptor gives no length");
    }
    if (length) {
        Require(*length >= 0 && *length <= 65535, "a length is between 0 and 65535");
        // Any output data takes at least one byte beside the report id.
        Require(*length != 1, "a length is never the report id alone");
    }
    return 0;
}
