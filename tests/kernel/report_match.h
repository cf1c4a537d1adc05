#pragma once

#include "kernel/uhid_pedal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

// Comparing what a uhid pedal received with what should have been written.
namespace treadkey::kerneltest {

// A command as a 9-byte report: report id 0 first, zeros after the command.
inline Bytes Report(std::initializer_list<std::uint8_t> command) {
    Bytes report(9, 0x00);
    std::size_t at = 1;
    for (const std::uint8_t byte : command) {
        report[at++] = byte;
    }
    return report;
}

inline std::string Hex(const Bytes& bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, " %02x", byte);
        text += digits;
    }
    return text;
}

// Delivered reports against expected ones; on a difference, names the first one in hex.
inline ::testing::AssertionResult SameReports(const std::vector<Bytes>& delivered,
                                              const std::vector<Bytes>& expected) {
    for (std::size_t i = 0; i < std::min(delivered.size(), expected.size()); ++i) {
        if (delivered[i] != expected[i]) {
            return ::testing::AssertionFailure() << "report " << i << " delivered as" << Hex(delivered[i])
                                                 << ", expected as" << Hex(expected[i]);
        }
    }
    if (delivered.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << delivered.size() << " reports delivered, " << expected.size() << " expected";
    }
    return ::testing::AssertionSuccess();
}

// The reports among `delivered` that carry a pedal frame ("00 AA ..."). The kernel writes LED reports of its
// own to a keyboard interface (one byte, no report id); those are not the program's.
inline std::vector<Bytes> FramesAmong(const std::vector<Bytes>& delivered) {
    std::vector<Bytes> frames;
    std::copy_if(delivered.begin(), delivered.end(), std::back_inserter(frames),
                 [](const Bytes& report) { return report.size() >= 2 && report[1] == 0xAA; });
    return frames;
}

} // namespace treadkey::kerneltest
