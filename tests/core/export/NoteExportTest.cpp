#include "core/export/CNoteTextExport.h"
#include "core/export/CPagePlan.h"
#include "core/model/CNote.h"
#include "support/FailAfter.h"
#include "support/Fakes.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CNote Note(const std::string& title, const std::string& text) {
    CNote n;
    n.m_title = title;
    n.m_text = text;
    return n;
}

// Ten units a character (a UTF-8 sequence counts once), as a fixed-pitch font would measure.
int Measure(std::string_view s) {
    int n = 0;
    for (char c : s)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n * 10;
}

} // namespace

TEST(NoteText, LineBreaksBecomeOneLineFeedAndNotesAreSeparated) {
    const CNote a = Note("Shopping", "milk\r\nbread\r\n\r\neggs\rtea");
    EXPECT_EQ(CNoteTextExport::NoteText(a), "Shopping\n\nmilk\nbread\n\neggs\ntea");
    const CNote untitled = Note("", "text");
    EXPECT_EQ(CNoteTextExport::NoteText(untitled), "\n\ntext");

    const std::string sep = "\n" + std::string(52, '-') + "\n";
    EXPECT_EQ(CNoteTextExport::NotesText({&a, &untitled}),
              CNoteTextExport::NoteText(a) + sep + "\n\ntext" + sep);
    EXPECT_EQ(CNoteTextExport::NotesText({}), "");

    EXPECT_EQ(CNoteTextExport::ProposedName(""), "Untitled.txt");
    EXPECT_EQ(CNoteTextExport::ProposedName("Bills 3/2024"), "Bills 3-2024.txt");
}

TEST(NoteText, OverwriteOnlyAfterYesAndAFailedWriteKeepsTheOldFile) {
    TestEnv env;
    const std::string path = env.Dir() + "/notes.txt";
    FakeDialogs dialogs;
    // A new file needs no question.
    EXPECT_EQ(CNoteTextExport::Save(dialogs, path, "first", "File exists"),
              CNoteTextExport::Result::Written);
    EXPECT_TRUE(dialogs.boxes.empty());

    dialogs.answers = {IDialogs::AnswerNo};
    EXPECT_EQ(CNoteTextExport::Save(dialogs, path, "second", "File exists"),
              CNoteTextExport::Result::Declined);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Do you want to overwrite existing file ?");
    EXPECT_EQ(dialogs.boxes[0].caption, "File exists");
    EXPECT_EQ(ReadFile(path), "first");

    dialogs.answers = {IDialogs::AnswerYes};
    {
        const FailAfter diskFull(3);
        EXPECT_EQ(CNoteTextExport::Save(dialogs, path, "a much longer text", "Confirmation"),
                  CNoteTextExport::Result::Failed);
    }
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[1].caption, "Confirmation");
    EXPECT_EQ(dialogs.boxes[2].icon, IDialogs::Stop);
    EXPECT_NE(dialogs.boxes[2].text.find(path), std::string::npos);
    EXPECT_EQ(ReadFile(path), "first");

    dialogs.answers = {IDialogs::AnswerYes};
    EXPECT_EQ(CNoteTextExport::Save(dialogs, path, "2", "File exists"),
              CNoteTextExport::Result::Written);
    EXPECT_EQ(ReadFile(path), "2"); // replaced whole, nothing of the longer old content left
}

// Notes are private: a new file is 0600; a replaced one keeps its mode and owner.
TEST(NoteText, SavedFilesAreNewlyPrivateAndReplacedOnesKeepModeAndOwner) {
    TestEnv env;
    const std::string path = env.Dir() + "/notes.txt";
    FakeDialogs dialogs;
    struct stat st {};
    umask(022);
    ASSERT_EQ(CNoteTextExport::Save(dialogs, path, "new", "File exists"),
              CNoteTextExport::Result::Written);
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0); // another user's file
    }
    dialogs.answers = {IDialogs::AnswerYes};
    ASSERT_EQ(CNoteTextExport::Save(dialogs, path, "replaced", "File exists"),
              CNoteTextExport::Result::Written);
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
    }
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "only the overwrite question";
}

TEST(PagePlan, EveryWordOnceInOrderOnFullPagesOfLinesThatFit) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "w" + std::to_string(i) + (i % 37 == 36 ? "\n" : i % 5 == 4 ? "  " : " ");
    const int width = 200;
    const auto pages = CPagePlan::Paginate(text, width, 12, 12 * 20 + 5, Measure);
    std::string joined;
    size_t lines = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        // Every page but the last is full, so nothing is left out at a page end.
        if (i + 1 < pages.size()) {
            EXPECT_EQ(pages[i].size(), 20u);
        }
        for (const std::string& line : pages[i]) {
            EXPECT_LE(Measure(line), width) << line;
            joined += line + "\n";
            ++lines;
        }
    }
    EXPECT_GT(pages.size(), 10u);
    EXPECT_EQ(Words(joined), Words(text));
    // Greedy: a line and the first word of the next one never fit together (within a paragraph).
    const auto all = CPagePlan::WrapLines(text, width, Measure);
    int fullBreaks = 0;
    for (size_t i = 0; i + 1 < all.size(); ++i) {
        const auto next = Words(all[i + 1]);
        if (next.empty() || all[i].empty()) continue;
        fullBreaks += Measure(all[i] + " " + next[0]) > width;
    }
    EXPECT_GT(fullBreaks, 100);
}

TEST(PagePlan, OverWideWordsBreakBetweenCharacters) {
    const std::string big(45, 'x');
    EXPECT_EQ(
        CPagePlan::WrapLines("ab " + big + " cd", 200, Measure),
        (std::vector<std::string>{"ab", std::string(20, 'x'), std::string(20, 'x'), "xxxxx cd"}));
    // Never inside a UTF-8 sequence.
    EXPECT_EQ(CPagePlan::WrapLines("ünïcödé", 30, Measure),
              (std::vector<std::string>{"ünï", "cöd", "é"}));
}

TEST(PagePlan, EmptyLinesTabsAndDegenerateBoxes) {
    EXPECT_EQ(CPagePlan::WrapLines("a\n\n b \t c\n", 1000, Measure),
              (std::vector<std::string>{"a", "", " b   c", ""}));
    // An empty text is one empty page (the title alone prints).
    const auto empty = CPagePlan::Paginate("", 100, 10, 100, Measure);
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_TRUE(empty[0].empty());
    // A body lower than one line still takes a line a page instead of looping or losing it.
    const auto tiny = CPagePlan::Paginate("one two three", 50, 50, 10, Measure);
    ASSERT_EQ(tiny.size(), 3u);
    EXPECT_EQ(tiny[2], (std::vector<std::string>{"three"}));
    // A box narrower than one character still makes progress, a character a line.
    EXPECT_EQ(CPagePlan::WrapLines("abc", 5, Measure), (std::vector<std::string>{"a", "b", "c"}));
}
