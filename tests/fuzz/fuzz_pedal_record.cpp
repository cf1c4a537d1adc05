#include "fuzz/fuzz_check.h"
#include "record/record_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Any text is either refused with a reason or a record that writes back to a text reading as the same record.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const treadkey::ParsedRecord parsed = treadkey::ParsePedalRecord(text);
    if (!parsed.record) {
        treadkey::fuzz::Require(!parsed.error.empty(), "a refused record says why");
        return 0;
    }
    const treadkey::ParsedRecord again =
        treadkey::ParsePedalRecord(treadkey::PedalRecordJson(*parsed.record, "p"));
    treadkey::fuzz::Require(again.record && *again.record == *parsed.record, "a record reads back as itself");
    return 0;
}
