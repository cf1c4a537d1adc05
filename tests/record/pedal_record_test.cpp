#include "record/pedal_record.h"

#include "protocol/frames.h"
#include "protocol/output_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treadkey {
namespace {

std::vector<std::vector<std::uint8_t>> Reports(const std::vector<std::string>& texts) {
    std::vector<std::vector<std::uint8_t>> reports;
    for (const std::string& text : texts) {
        reports.push_back(BuildOutputReport(text, 9));
    }
    return reports;
}

RecordedWord Written(std::array<std::uint8_t, kWordSize> data, WordWriter writer = WordWriter::KeyCommand) {
    return {WordSource::Written, {data, writer}, "T", "treadkeyctl", ""};
}

RecordedWord Unknown(const std::string& note) {
    return {WordSource::Unknown, {}, "T", "treadkeyctl", note};
}

TEST(RecordWrite, ChangesWhatTheReportsTouched) {
    const std::vector<std::string> keyPlan = {"aa 01 08 03 04 00 00", "AA 01 7C 79 01 00 0A",
                                              "AA 01 78 79 01 01 00"};
    const struct {
        const char* what;
        std::vector<std::string> texts;
        std::size_t wentThrough;
        int slot; // the slot looked at
        RecordedWord slotWord;
        RecordedWord playback;
    } cases[] = {
        {"a key, all through", keyPlan, 3, 3, Written({3, 4, 0, 0}), Written({0x79, 1, 0, 0x0A})},
        {"a key, cut after one", keyPlan, 1, 3, Unknown("interrupted after report 1 of 3"),
         Unknown("interrupted after report 1 of 3")},
        {"a mouse button",
         {"aa 02 04 fe 04 00 00"},
         1,
         2,
         Written({0xFE, 4, 0, 0}, WordWriter::MouseCommand),
         {}},
        {"a command the pedal memory cannot decode",
         {"aa 05 2c 01 02 03 04"},
         1,
         12,
         Unknown("a frame of command 5 the record cannot decode"),
         {}},
        {"a word the record does not keep", {"aa 01 40 01 02 03 04"}, 1, 1, {}, {}},
        {"no frame at all", {"bb 01 00 01 02 03 04"}, 1, 1, {}, {}},
    };
    for (const auto& c : cases) {
        PedalRecord record;
        const auto reports = Reports(c.texts);
        RecordWrite(record, reports, c.wentThrough, {"T", "treadkeyctl"});
        EXPECT_EQ(record.slotWords[static_cast<std::size_t>(c.slot - 1)], c.slotWord) << c.what;
        EXPECT_EQ(record.playback, c.playback) << c.what;
    }
}

TEST(RecordWrite, ClearingEverySlotLeavesEveryWordCleared) {
    std::vector<std::string> texts;
    for (int counter = 0; counter < kWordCount; ++counter) {
        texts.push_back(ClearFrame(counter));
    }
    PedalRecord record;
    RecordWrite(record, Reports(texts), texts.size(), {"T", "treadkeyctl"});
    for (const RecordedWord& slot : record.slotWords) {
        EXPECT_EQ(slot, Written({0xFF, 0xFF, 0xFF, 0xFF}));
    }
    EXPECT_EQ(record.singleOutput, Written({0xFF, 0xFF, 0xFF, 0xFF}));
}

} // namespace
} // namespace treadkey
