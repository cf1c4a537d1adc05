#include "app/window_wording.h"
#include "fixtures/lock_holder.h"
#include "fixtures/scratch_directory.h"
#include "record/record_file.h"
#include "window_fixture.h"

#include <QCoreApplication>
#include <QTextDocumentFragment>
#include <fstream>
#include <functional>

namespace treadkey::testing {
namespace {

// The text a tooltip shows: one that looks like HTML is read as HTML.
QString Shown(const QString& tooltip) {
    return Qt::mightBeRichText(tooltip) ? QTextDocumentFragment::fromHtml(tooltip).toPlainText() : tooltip;
}

class WindowRecord : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ui.stateDirectory = scratch / "state";
    }
    std::filesystem::path RecordFile() const {
        return PedalRecordFile(*ui.stateDirectory, "usb-1-1"); // the fake pedal's identity
    }
    PedalRecord Recorded() const {
        const LoadedRecord loaded = LoadPedalRecord(RecordFile(), "");
        EXPECT_EQ(loaded.warning + loaded.error, "");
        return loaded.record;
    }

    ScratchDirectory scratch;
};

// The record is written once the click's handler is done: after its last report, outside its pauses.
TEST_F(WindowRecord, AnActionIsRecordedAfterItsLastReport) {
    Connect();
    window->Combo1->setEditText("3");
    Click(window->Command_ctrl);
    Click(Key(50));
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
    QCoreApplication::processEvents();
    const RecordedWord slot = Recorded().slotWords[2];
    EXPECT_EQ(slot.source, WordSource::Written);
    EXPECT_EQ(slot.word, (MemoryWord{{0x01, 0x04, 0, 0}, WordWriter::KeyCommand}));
    EXPECT_EQ(slot.program, "treadkey-setup");
    EXPECT_EQ(Shown(window->Combo1->toolTip()),
              QString::fromStdString("记录：地址3为 < Ctrl + A >，" + slot.when + " 由 treadkey-setup 写入"));
    Click(window->Command3);
    EXPECT_EQ(Shown(window->Combo1->toolTip()),
              QString::fromStdString("By the record, slot 3 holds < Ctrl + A >, written " + slot.when +
                                     " by treadkey-setup"));
    window->Combo1->setEditText("7");
    EXPECT_EQ(Shown(window->Combo1->toolTip()), "By the record, slot 7 is unknown");

    // The pedal stops taking reports after the key frame: the slot and both settings words are unknown.
    backend.OnWrite([this](int tried) { backend.SetFailWrites(tried >= 4); });
    window->Combo1->setEditText("5");
    Click(Key(50));
    QCoreApplication::processEvents();
    const PedalRecord record = Recorded();
    EXPECT_EQ(record.slotWords[4].source, WordSource::Unknown);
    EXPECT_EQ(record.slotWords[4].note, "interrupted after report 1 of 3");
    EXPECT_EQ(record.playback.note, "interrupted after report 1 of 3");
    EXPECT_EQ(record.slotWords[2].source, WordSource::Written);
    EXPECT_EQ(Shown(window->Combo1->toolTip()),
              "By the record, slot 5 is unknown (interrupted after report 1 of 3)");
}

// The window writes the pedal at the click whatever the record's lock; the record follows at the first tick
// after another program lets go of it, and meanwhile the slot box says the record is behind.
TEST_F(WindowRecord, AWriteWhileAnotherProgramHoldsTheLockIsRecordedWhenItLetsGo) {
    Connect();
    Click(window->Command3); // English
    window->Combo1->setEditText("3");
    std::filesystem::create_directories(RecordFile().parent_path());
    LockHolder other(RecordFile().string() + ".lock");
    ASSERT_TRUE(other.held());
    backend.ClearWrites();
    Click(Key(50)); // A
    QCoreApplication::processEvents();
    EXPECT_EQ(backend.Writes().size(), 3u); // the key frame, the delay word and the single-output word
    window->Timer1_Timer();
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
    const QString behind = QString::fromUtf8(kRecordBehindNote.english.data(),
                                             static_cast<qsizetype>(kRecordBehindNote.english.size()));
    EXPECT_TRUE(Shown(window->Combo1->toolTip()).endsWith(behind))
        << Shown(window->Combo1->toolTip()).toStdString();
    Click(window->Command3); // Chinese
    window->Combo1->setEditText("3");
    EXPECT_TRUE(Shown(window->Combo1->toolTip())
                    .endsWith(QString::fromUtf8(kRecordBehindNote.chinese.data(),
                                                static_cast<qsizetype>(kRecordBehindNote.chinese.size()))));

    other.Release();
    window->Timer1_Timer();
    const RecordedWord slot = Recorded().slotWords[2];
    EXPECT_EQ(slot.source, WordSource::Written);
    EXPECT_EQ(slot.word, (MemoryWord{{0x00, 0x04, 0, 0}, WordWriter::KeyCommand}));
    EXPECT_EQ(Shown(window->Combo1->toolTip()),
              QString::fromStdString("记录：地址3为 < A >，" + slot.when + " 由 treadkey-setup 写入"));
}

// What keeps the record from being kept or read is in the status tooltip, in the window's language, not on
// stderr alone.
TEST_F(WindowRecord, TroubleWithTheRecordIsInTheStatusTooltip) {
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::string english; // part of the tooltip in English
        std::string chinese;
    } rows[] = {
        {"the state directory is a file",
         [this] {
             std::ofstream{scratch / "a-file"};
             ui.stateDirectory = scratch / "a-file" / "treadkey";
         },
         "Trouble with the pedal's record: the state directory " +
             (scratch / "a-file" / "treadkey").string() + " cannot be used: Not a directory",
         "踏板的记录出了问题：the state directory"},
        {"a record set aside",
         [this] {
             ui.stateDirectory = scratch / "state";
             std::filesystem::create_directories(RecordFile().parent_path());
             std::ofstream(RecordFile()) << "{";
         },
         "Trouble with the pedal's record: the record " + RecordFile().string() + " cannot be read",
         "踏板的记录出了问题：the record"},
    };
    PlugPedal();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        row.arrange();
        window = std::make_unique<USB>(backend, ui);
        window->Form_Load();
        window->Timer1->stop();
        window->Timer1_Timer();
        const QString chinese = window->Label3->toolTip();
        Click(window->Command3); // English
        window->Timer1_Timer();
        EXPECT_TRUE(chinese.contains(QString::fromStdString(row.chinese))) << chinese.toStdString();
        EXPECT_TRUE(window->Label3->toolTip().contains(QString::fromStdString(row.english)))
            << window->Label3->toolTip().toStdString();
    }
}

// The slot box tells of the pedal that is there: none before it is plugged in, its record once it is.
TEST_F(WindowRecord, TheSlotTooltipFollowsThePedalPluggedInAndPulledOut) {
    EXPECT_EQ(UpdatePedalRecord(
                  RecordFile(), "usb-1-1",
                  [](PedalRecord& record) {
                      record.slotWords[2] = {WordSource::Written,
                                             {{0x00, 0x04, 0, 0}, WordWriter::KeyCommand},
                                             "2026-03-01T12:00:00Z",
                                             "treadkeyctl",
                                             ""};
                  },
                  "t")
                  .error,
              "");
    window->Combo1->setEditText("3");
    EXPECT_EQ(Shown(window->Combo1->toolTip()), "");
    Connect();
    EXPECT_EQ(Shown(window->Combo1->toolTip()),
              "记录：地址3为 < A >，2026-03-01T12:00:00Z 由 treadkeyctl 写入");
    Click(window->Command3); // English
    EXPECT_EQ(Shown(window->Combo1->toolTip()),
              "By the record, slot 3 holds < A >, written 2026-03-01T12:00:00Z by treadkeyctl");
    backend.Unplug(kPedal);
    window->Timer1_Timer();
    EXPECT_EQ(Shown(window->Combo1->toolTip()), "");
}

// A press line says which slot the record says holds what was pressed. Only the pedal written to is watched,
// so the record read is always the pressing pedal's: a twin's presses make no line.
TEST_F(WindowRecord, APressLineNamesTheRecordedSlot) {
    PlugComposite();
    const std::span<const std::uint8_t> keyboard = BootKeyboardDescriptor();
    backend.Plug({"twin-keyboard",
                  0x2704,
                  0x2018,
                  2,
                  true,
                  {{0x01, 0x06}},
                  {{keyboard.begin(), keyboard.end()}},
                  true,
                  "usb-1-2"});
    window->Timer1_Timer();
    Click(window->Command3); // English
    window->Combo1->setEditText("3");
    Click(Key(50)); // A
    QCoreApplication::processEvents();
    const struct {
        std::vector<std::uint8_t> report;
        const char* line;
    } cases[] = {
        {{0, 0, 0x04, 0, 0, 0, 0, 0}, "Pedal Sent:  < A > (slot 3 by the record)"},
        {{0x01, 0, 0x04, 0, 0, 0, 0, 0}, "Pedal Sent:  < Ctrl + A > (no slot holds it by the record)"},
    };
    for (const auto& c : cases) {
        backend.Send(kKeyboard, c.report);
        backend.Send(kKeyboard, std::vector<std::uint8_t>(8, 0));
        window->Timer1_Timer();
        EXPECT_EQ(LogTexts().last(), c.line);
    }
    const qsizetype lines = LogTexts().size();
    backend.Send("twin-keyboard", {0, 0, 0x04, 0, 0, 0, 0, 0});
    window->Timer1_Timer();
    EXPECT_EQ(LogTexts().size(), lines);
}

} // namespace
} // namespace treadkey::testing
