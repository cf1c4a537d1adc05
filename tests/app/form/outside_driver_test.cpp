#include "app/form/appended_lines.h"
#include "form_fixture.h"

#include <fstream>
#include <optional>

namespace treadkey::testing {
namespace {

void Append(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::app | std::ios::binary) << text;
}

Lines FileLines(const std::filesystem::path& file) {
    Lines lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A test's requests come as lines appended while the window runs: each must be taken once, whole, and none
// of those written before the window started.
TEST(AppendedLines, TakesEachWholeLineOnce) {
    const struct {
        const char* name;
        std::optional<std::string> before; // in the file when the reader is made; nothing: no file yet
        std::vector<std::string> writes;   // appended, each followed by a Take
        std::vector<Lines> taken;          // what each Take gives
        bool truncateBeforeLast = false;   // the file emptied before the last write
    } cases[] = {
        {"lines there at the start are not taken", "Command1\n", {"Clear\n"}, {{"Clear"}}},
        {"a file made after the reader is read from its start", std::nullopt, {"Command1\n"}, {{"Command1"}}},
        {"a line without its end waits for it", "", {"Comm", "and1\n"}, {{}, {"Command1"}}},
        {"several lines at once, CR LF ends cut", "", {"Command1\r\nClear\n"}, {{"Command1", "Clear"}}},
        {"an emptied file is read from its start",
         "Command1\nClear\n",
         {"Clear\n", "Command3\n"},
         {{"Clear"}, {"Command3"}},
         true},
    };
    for (const auto& c : cases) {
        ScratchDirectory scratch;
        const std::filesystem::path file = scratch / "clicks";
        if (c.before) {
            Append(file, *c.before);
        }
        AppendedLines reader(file);
        EXPECT_EQ(reader.Take(), Lines{}) << c.name << ", before any write";
        for (std::size_t i = 0; i < c.writes.size(); ++i) {
            if (c.truncateBeforeLast && i + 1 == c.writes.size()) {
                std::ofstream(file, std::ios::trunc | std::ios::binary);
            }
            Append(file, c.writes[i]);
            EXPECT_EQ(reader.Take(), c.taken[i]) << c.name << ", take " << i;
        }
    }
}

using OutsideDriver = FormTest;

TEST_F(OutsideDriver, ResultLinesGoToTheFileAsTheListShowsThem) {
    ScratchDirectory scratch;
    window->CopyResultLinesTo(scratch / "results");
    Connect();
    Click(Key(50)); // A
    Click(window->Command_R_btn);
    ASSERT_EQ(view.lines.size(), 2u);
    EXPECT_EQ(FileLines(scratch / "results"), view.lines);
}

// The hidden clear-all button, out of any user's reach, is clicked at the next tick; a name the window does
// not have is passed over.
TEST_F(OutsideDriver, NamedControlsAreClickedAtTheNextTickHiddenOrNot) {
    ScratchDirectory scratch;
    window->TakeClicksFrom(scratch / "clicks");
    Connect();
    Append(scratch / "clicks", "NoSuchControl\nCommand1\n");
    EXPECT_TRUE(view.questions.empty());
    window->Timer1_Timer();
    EXPECT_EQ(view.questions, Lines{"确定清空设备所有键值? | 温馨提示"});
    EXPECT_EQ(LogTexts(), Lines{"已清空设备所有键值!"});
    window->Timer1_Timer();
    EXPECT_EQ(view.questions.size(), 1u) << "a line is clicked once";
}

} // namespace
} // namespace treadkey::testing
