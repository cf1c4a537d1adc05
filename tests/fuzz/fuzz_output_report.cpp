#include "fuzz/fuzz_check.h"
#include "protocol/output_report.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Input: a mode byte, the report length, then the text. The length is one byte (0..254), or 0xFF followed by
// two bytes little-endian (0..65535): long reports cost milliseconds each under the fuzzer's instrumentation,
// so most runs take short ones, where the pairing and cutting happen. With an odd mode byte every text byte
// is mapped onto the hex digits and the space, so that most runs hit texts the model below predicts in full;
// with an even one the text is the raw bytes.

namespace {

using treadkey::fuzz::Require;

constexpr std::string_view kCommandAlphabet = "0123456789abcdefABCDEF ";
constexpr std::string_view kLowerHexDigits = "0123456789abcdef";

int DigitValue(char c) {
    const char lower = c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    const std::size_t at = kLowerHexDigits.find(lower);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// What a report of hex digits and spaces must hold: the digits paired in order, then zeros. Only the
// complete pairs are predicted; the text's last digit, when the count is odd, is left to the unit tests.
void CheckAgainstPairModel(std::string_view text, const std::vector<std::uint8_t>& report) {
    std::vector<int> digits;
    for (const char c : text) {
        if (c != ' ') {
            digits.push_back(DigitValue(c));
        }
    }
    const std::size_t completePairs = digits.size() / 2;
    const bool even = digits.size() % 2 == 0;
    for (std::size_t i = 1; i < report.size(); ++i) {
        const std::size_t pair = i - 1;
        if (pair < completePairs) {
            const int expected = digits[2 * pair] * 16 + digits[2 * pair + 1];
            Require(report[i] == expected, "a complete digit pair gives its byte");
        } else if (even) {
            Require(report[i] == 0, "bytes past an even digit string are zero");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const bool mapToAlphabet = (data[0] & 1) != 0;
    int length = data[1];
    std::size_t textStart = 2;
    if (length == 0xFF) {
        if (size < 4) {
            return 0;
        }
        length = data[2] | (data[3] << 8);
        textStart = 4;
    }
    std::string text(reinterpret_cast<const char*>(data + textStart), size - textStart);
    if (mapToAlphabet) {
        for (char& c : text) {
            c = kCommandAlphabet[static_cast<unsigned char>(c) % kCommandAlphabet.size()];
        }
    }

    Require(treadkey::BuildOutputReport(text, -length).empty(), "no report below length 1");
    const std::vector<std::uint8_t> report = treadkey::BuildOutputReport(text, length);
    if (length < 1) {
        Require(report.empty(), "no report below length 1");
        return 0;
    }
    Require(report.size() == static_cast<std::size_t>(length), "the report is exactly the length asked");
    Require(report[0] == 0, "byte 0 is report id 0");

    const bool commandAlphabetOnly = std::all_of(
        text.begin(), text.end(), [](char c) { return kCommandAlphabet.find(c) != std::string_view::npos; });
    if (commandAlphabetOnly) {
        CheckAgainstPairModel(text, report);
    }
    const bool noHexDigit = std::none_of(text.begin(), text.end(), [](char c) { return DigitValue(c) >= 0; });
    if (noHexDigit) {
        Require(std::all_of(report.begin(), report.end(), [](std::uint8_t b) { return b == 0; }),
                "a text without hex digits gives only zero bytes");
    }
    return 0;
}
