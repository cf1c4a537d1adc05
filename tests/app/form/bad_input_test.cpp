#include "app/form/utf32_text.h"
#include "form_fixture.h"
#include "stacks/virtual/virtual_pedal.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <string>

namespace treadkey::testing {
namespace {

using BadInput = FormTest;
using Reports = std::vector<std::string>;

const std::string kWriteFailed = "写入失败，请先联接。";

TEST_F(BadInput, SlotTextsGiveTheLowByteOfTheirLeadingNumber) {
    Connect();
    Click(window->Command3); // English log lines
    const struct {
        const char* slot;
        const char* address; // low byte of (n - 1) * 4, n the leading number or 0
        const char* shown;   // the slot as the log line gives it
    } cases[] = {
        {"", "FC", "0"},
        {"abc", "FC", "0"},
        {"-3", "F0", "-3"},
        {"2.5", "06", "2.5"},
        {"1e9", "00", "1"},
        // Twenty nines read as the double 1e20, a multiple of 64: the same address as slot 0.
        {"99999999999999999999", "FC", "100000000000000000000"},
    };
    for (const auto& c : cases) {
        Type(window->Combo1, c.slot);
        backend.ClearWrites();
        Click(Key(50));
        Click(window->Command_L_btn);
        const std::string a = c.address;
        EXPECT_EQ(HexReports(), (Reports{"00 AA 01 " + a + " 00 04 00 00 00", "00 AA 01 7C 79 01 00 00 00",
                                         "00 AA 01 78 79 01 00 00 00", "00 AA 02 " + a + " FE 01 00 00 00"}))
            << '"' << c.slot << '"';
        const Lines log = LogTexts();
        EXPECT_EQ(Lines(log.end() - 2, log.end()),
                  (Lines{"Write Key Val:  < A > To Address:" + std::string(c.shown),
                         "Write Mouse BTN:  < L BTN Click > To Address:" + std::string(c.shown)}))
            << '"' << c.slot << '"';
    }
}

TEST_F(BadInput, DelayTextsAreClampedOrWrappedToSixteenBits) {
    Connect();
    Click(window->Command3);
    const std::string nines(5000, '9');
    const struct {
        std::string typed;
        std::string shown; // the delay box after the clamp
        const char* delayReport;
        const char* line; // empty: no delay line
    } cases[] = {
        {"65535.5", "65535", "00 AA 01 7C 79 01 FF FF 00", "Key Delay:  65535 ms"},
        {nines, "65535", "00 AA 01 7C 79 01 FF FF 00", "Key Delay:  65535 ms"},
        // Beyond the double range the reading saturates; a negative one is never clamped and its low 16 bits
        // are zero.
        {"-" + nines.substr(0, 4999), "-" + nines.substr(0, 4999), "00 AA 01 7C 79 01 00 00 00", ""},
        {"-40000" + std::string(4994, 'x'), "-40000" + std::string(4994, 'x'), "00 AA 01 7C 79 01 63 C0 00",
         ""},
        {std::string(4999, ' ') + "7", std::string(4999, ' ') + "7", "00 AA 01 7C 79 01 00 07 00",
         "Key Delay:  7 ms"},
        // Too small for a double: reads as 0, so no delay line.
        {"0." + std::string(4997, '0') + "1", "0." + std::string(4997, '0') + "1",
         "00 AA 01 7C 79 01 00 00 00", ""},
    };
    for (const auto& c : cases) {
        Type(window->Text_delay, c.typed);
        EXPECT_EQ(window->Text_delay->text, c.shown) << c.typed.substr(0, 12);
        backend.ClearWrites();
        view.lines.clear();
        Click(window->Command2);
        EXPECT_EQ(HexReports(), (Reports{c.delayReport, "00 AA 01 78 79 01 00 00 00"}))
            << c.typed.substr(0, 12);
        EXPECT_EQ(LogTexts(), *c.line ? Lines{std::string(c.line)} : Lines{}) << c.typed.substr(0, 12);
    }
}

TEST_F(BadInput, CommandBoxDropsLookAlikesControlsAndBrokenUtf8) {
    const struct {
        std::string typed;
        std::string result;
        std::size_t messages;
    } cases[] = {
        {"０１ ＡＡ", " ", 3},         // full-width digits and letters
        {"٠١AA", "AA", 2},             // Arabic-Indic digits
        {"0x1F, 0x2E;", "01F 02E", 3}, // a C array pasted in
        {"aa\t01\r\n7c", "aa017c", 3}, // tab and line ends
        // A surrogate written as UTF-8 and a byte that starts no character: each read as U+FFFD. (Lone UTF-16
        // surrogates, which UTF-8 cannot carry, are the Qt view's to turn into U+FFFD.)
        {"A\xED\xA0\x80"
         "B\xFF",
         "AB", 1},
        {"1\u200B2", "12", 1}, // zero-width space
    };
    for (const auto& c : cases) {
        view.messages.clear();
        Type(window->TextIW, c.typed);
        EXPECT_EQ(window->TextIW->text, c.result) << c.typed;
        EXPECT_EQ(view.messages.size(), c.messages) << c.typed;
    }
}

TEST_F(BadInput, HundredThousandCharacterPasteIsFilteredQuicklyAndWritesItsFirstPairs) {
    const std::u32string invalid = U"ghijklmnopqrstuvwxyzGHIJKLMNOPQRSTUVWXYZ-.,;:!?\t键😀€";
    const std::u32string hex = U"0123456789abcdefABCDEF ";
    std::u32string pasted;
    std::u32string clean;
    for (std::size_t i = 0; pasted.size() < 100000; ++i) {
        if (i % 3 == 2) {
            pasted += invalid[(i / 3) % invalid.size()];
        } else {
            pasted += hex[i % hex.size()];
            clean += hex[i % hex.size()];
        }
    }
    Connect();

    const auto started = std::chrono::steady_clock::now();
    Type(window->TextIW, Utf8Of(pasted));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "filtering a " << pasted.size() << "-character paste with " << invalid.size()
              << " distinct invalid characters took " << seconds << " s\n";

    EXPECT_EQ(view.messages.size(), invalid.size());
    EXPECT_EQ(window->TextIW->text, Utf8Of(clean));
    // Under a second in an optimised build; the bound leaves room for the sanitizers and a busy machine.
    EXPECT_LT(seconds, 10.0);

    Click(window->Iwrite);
    ASSERT_EQ(backend.Reports().size(), 1u);
    // The clean text starts "0134679acdfACDF 1245": its first sixteen digits, paired.
    EXPECT_EQ(HexReports().front(), "00 01 34 67 9A CD FA CD F1");
}

TEST_F(BadInput, ReportLengthsTheVirtualPedalMayDeclare) {
    const struct {
        int length;
        std::vector<std::uint8_t> keyReportStart; // the rest is zeros
        bool decoded;
    } cases[] = {
        {1, {0x00}, false}, // the report id alone: no frame reaches the pedal
        {2, {0x00, 0xAA}, false},
        {65535, {0x00, 0xAA, 0x01, 0x08, 0x00, 0x04}, true},
    };
    for (const auto& c : cases) {
        VirtualPedalOptions options;
        options.reportLength = c.length;
        VirtualPedal pedal(options);
        FakeView pedalView;
        USB pedalWindow(pedal, pedalView);
        pedalWindow.Form_Load();
        pedalWindow.Timer1_Timer();
        ASSERT_TRUE(pedalWindow.Link().DeviceDetected) << c.length;
        pedalWindow.TextEdited(*pedalWindow.Combo1, "3");
        pedalWindow.Command_key_Click(50);

        const auto received = pedal.receivedReports();
        ASSERT_EQ(received.size(), 3u) << c.length;
        std::vector<std::uint8_t> keyReport(static_cast<std::size_t>(c.length), 0);
        std::copy(c.keyReportStart.begin(), c.keyReportStart.end(), keyReport.begin());
        EXPECT_EQ(received[0], keyReport) << c.length;
        for (const auto& report : received) {
            EXPECT_EQ(report.size(), static_cast<std::size_t>(c.length));
        }
        const PedalMemory memory = pedal.memory();
        EXPECT_EQ(memory.ignoredFrameCount(), c.decoded ? 0 : 3) << c.length;
        EXPECT_EQ(memory.slot(3)->writer, c.decoded ? WordWriter::KeyCommand : WordWriter::None) << c.length;
        // The pedal took every report it was sent, so the assignment is logged as written even when the
        // report is too short to carry it.
        ASSERT_FALSE(pedalView.lines.empty()) << c.length;
        EXPECT_TRUE(pedalView.lines.back().ends_with("写入键值:  < A > 到地址3")) << c.length;
        EXPECT_TRUE(pedalWindow.CloseRequested());
    }
}

TEST_F(BadInput, AReportLengthBelowOneWritesNothingForAnyAction) {
    const struct {
        const char* action;
        std::function<void()> run;
    } actions[] = {
        {"key", [&] { Click(Key(50)); }},
        {"delay", [&] { Click(window->Command2); }},
        {"raw", [&] { Click(window->Iwrite); }},
        {"clear-all", [&] { Click(window->Command1); }},
    };
    for (const int length : {0, -1}) {
        backend.Unplug(kPedal);
        Connect(length);
        ASSERT_TRUE(window->Link().DeviceDetected);
        for (const auto& a : actions) {
            view.lines.clear();
            a.run();
            EXPECT_TRUE(backend.Reports().empty()) << a.action << " L=" << length;
            EXPECT_EQ(LogTexts(), Lines{kWriteFailed}) << a.action << " L=" << length;
        }
    }
}

} // namespace
} // namespace treadkey::testing
