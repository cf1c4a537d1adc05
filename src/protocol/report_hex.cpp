#include "protocol/report_hex.h"

#include "protocol/hex_byte.h"

namespace treadkey {

std::string ReportHexLine(std::span<const std::uint8_t> report) {
    std::string line;
    for (const std::uint8_t byte : report) {
        line += (line.empty() ? "" : " ") + TwoDigitHex(byte);
    }
    return line;
}

} // namespace treadkey
