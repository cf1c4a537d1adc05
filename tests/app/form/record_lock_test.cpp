#include "app/form/window_wording.h"
#include "fixtures/lock_holder.h"
#include "record_fixture.h"

#include <fstream>
#include <functional>

// POSIX only: another process holds the record's lock, and the system's own reasons are read.
namespace treadkey::testing {
namespace {

// The window writes the pedal at the click whatever the record's lock; the record follows at the first tick
// after another program lets go of it, and meanwhile the slot box says the record is behind.
TEST_F(WindowRecord, AWriteWhileAnotherProgramHoldsTheLockIsRecordedWhenItLetsGo) {
    Connect();
    Click(window->Command3); // English
    Type(window->Combo1, "3");
    std::filesystem::create_directories(RecordFile().parent_path());
    LockHolder other(RecordFile().string() + ".lock");
    ASSERT_TRUE(other.held());
    backend.ClearWrites();
    Click(Key(50)); // A
    view.RunPosted();
    EXPECT_EQ(backend.Writes().size(), 3u); // the key frame, the delay word and the single-output word
    window->Timer1_Timer();
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
    EXPECT_TRUE(window->Combo1->toolTip.ends_with(kRecordBehindNote.english)) << window->Combo1->toolTip;
    Click(window->Command3); // Chinese
    Type(window->Combo1, "3");
    EXPECT_TRUE(window->Combo1->toolTip.ends_with(kRecordBehindNote.chinese)) << window->Combo1->toolTip;

    other.Release();
    window->Timer1_Timer();
    const RecordedWord slot = Recorded().slotWords[2];
    EXPECT_EQ(slot.source, WordSource::Written);
    EXPECT_EQ(slot.word, (MemoryWord{{0x00, 0x04, 0, 0}, WordWriter::KeyCommand}));
    EXPECT_EQ(window->Combo1->toolTip, "记录：地址3为 < A >，" + slot.when + " 由 treadkey-setup 写入");
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
             stateDirectory = scratch / "a-file" / "treadkey";
         },
         "Trouble with the pedal's record: the state directory " +
             (scratch / "a-file" / "treadkey").string() + " cannot be used: Not a directory",
         "踏板的记录出了问题：the state directory"},
        {"a record set aside",
         [this] {
             stateDirectory = scratch / "state";
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
        Open();
        window->Timer1_Timer();
        const std::string chinese = window->Label3->toolTip;
        Click(window->Command3); // English
        window->Timer1_Timer();
        EXPECT_NE(chinese.find(row.chinese), std::string::npos) << chinese;
        EXPECT_NE(window->Label3->toolTip.find(row.english), std::string::npos) << window->Label3->toolTip;
    }
}

} // namespace
} // namespace treadkey::testing
