#include "core/model/CNote.h"
#include "core/platform/Clock.h"
#include "gui/manager/CNoteList.h"
#include "gui/manager/CNoteManagerDlg.h"
#include "gui/platform/QtDialogs.h"
#include "gui/print/CNotePrinter.h"
#include "gui/widgets/CHoverButton.h"
#include "support/CupsServer.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QImage>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <climits>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <sstream>

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen((command + " 2>&1").c_str(), "r")) {
        char buf[4096];
        while (size_t n = fread(buf, 1, sizeof buf, p))
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

int PdfPages(const std::string& pdf) {
    std::smatch m;
    const std::string info = Shell("pdfinfo '" + pdf + "'");
    return std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(m[1]) : -1;
}

// 5,000 different words in paragraphs of uneven length, with a few over-long words.
std::string LongText() {
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text += (i % 997 == 5 ? "averyveryverylongunbreakablewordthatiswaytoowideforasingleline"
                                "ofthebodyboxwhateverthetypefacemaybe" +
                                    std::to_string(i)
                              : "word" + std::to_string(i));
        text += i % 61 == 60 ? "\r\n" : i % 211 == 0 ? "\r\n\r\n" : " ";
    }
    return text;
}

struct Ink {
    int top = -1, bottom = -1, left = INT_MAX, right = -1;
};
// Where the dark pixels of a band of rows lie.
Ink InkIn(const QImage& img, int fromY, int toY) {
    Ink ink;
    for (int y = std::max(0, fromY); y < std::min(img.height(), toY); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                if (ink.top < 0) ink.top = y;
                ink.bottom = y;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
    return ink;
}

// A page of the PDF as a picture, kept for looking at.
QImage PagePicture(const std::string& pdf, int page, const QString& name) {
    const QString dir = QStringLiteral(JOTTERLY_BINARY_DIR "/test-output/print");
    QDir().mkpath(dir);
    const std::string base = (dir + "/" + name).toStdString();
    Shell("pdftoppm -r 60 -png -singlefile -f " + std::to_string(page) + " -l " +
          std::to_string(page) + " '" + pdf + "' '" + base + "'");
    return QImage(QString::fromStdString(base + ".png")).convertToFormat(QImage::Format_RGB32);
}

// The first page: the title centred in its own band above the body, the body starting a tenth
// of the printable width in; a later page has no title band.
void CheckPages(const std::string& pdf, const std::string& tag) {
    const QImage first = PagePicture(pdf, 1, QString::fromStdString(tag + "-page1"));
    const QImage second = PagePicture(pdf, 2, QString::fromStdString(tag + "-page2"));
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());
    const Ink all1 = InkIn(first, 0, first.height());
    const Ink all2 = InkIn(second, 0, second.height());
    // The second page's text starts at the body's top, below the first page's title.
    ASSERT_GT(all2.top, all1.top);
    const Ink title = InkIn(first, 0, all2.top - 1);
    ASSERT_GE(title.top, 0) << "no title above the body";
    const int centre = (title.left + title.right) / 2;
    EXPECT_NEAR(centre, first.width() / 2, first.width() / 40);
    const Ink body = InkIn(first, all2.top, first.height());
    EXPECT_NEAR(body.left, all2.left, 2); // the same left margin on every page
    EXPECT_GT(body.left, first.width() / 12);
    EXPECT_LT(body.left, first.width() / 4);
    EXPECT_LT(body.right, first.width() - first.width() / 12);
}

class Printing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_cups = new CupsServer;
        // Every printing question of this process goes to the private scheduler.
        setenv("CUPS_SERVER", s_cups->Address().c_str(), 1);
    }
    static void TearDownTestSuite() {
        delete s_cups;
        s_cups = nullptr;
    }
    void SetUp() override {
        QtDialogs::s_shownBoxes.clear();
        QtDialogs::s_nextAnswers.clear();
    }
    void TearDown() override { s_cups->Stop(); }

    static CupsServer* s_cups;
    FakePlatform platform;
    FakeHub hub{platform};
};
CupsServer* Printing::s_cups = nullptr;

} // namespace

TEST_F(Printing, NoDefaultPrinterOffersAPdfAndARefusalStopsTheManager) {
    ASSERT_TRUE(QPrinterInfo::defaultPrinter().isNull());
    Clock::SetForTest(COleDateTime(2003, 11, 6, 10, 0, 0));
    NoteBuilder().Title("one").AddTo(hub.Store());
    NoteBuilder().Title("two").AddTo(hub.Store());
    QtDialogs dialogs;
    {
        CNoteManagerDlg dlg(hub, dialogs);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        dlg.List()->selectAll();
        ASSERT_EQ(dlg.List()->SelectedNotes().size(), 2u);
        QtDialogs::s_nextAnswers = {IDialogs::AnswerNo, IDialogs::AnswerNo};
        QTest::mouseClick(dlg.Tool(CNoteManagerDlg::ToolPrint), Qt::LeftButton);
    }
    Clock::ResetForTest();
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 1u); // the second note was not tried
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].first, "No Printer !\n\nSave as PDF... instead?");
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].second, "Oops !");

    // Taken up, the note goes into the PDF file chosen, on as many pages as it needs.
    QTemporaryDir dir;
    CNote note;
    note.m_title = "Five thousand words";
    note.m_text = LongText();
    FakeDialogs pdf;
    pdf.answers = {IDialogs::AnswerYes};
    pdf.files = {dir.filePath("note.pdf").toStdString()};
    int pages = 0;
    ASSERT_TRUE(CNotePrinter::PrintNote(note, pdf, &pages));
    EXPECT_GT(pages, 5);
    const std::string file = dir.filePath("note.pdf").toStdString();
    EXPECT_EQ(PdfPages(file), pages);
    // Every word once and in order; over-long words broken at the box's edge are joined again.
    std::vector<std::string> expected = Words(note.m_title);
    for (const std::string& w : Words(note.m_text))
        expected.push_back(w);
    std::vector<std::string> joined;
    for (const std::string& w : Words(Shell("pdftotext -layout '" + file + "' -"))) {
        const size_t i = joined.size();
        if (i > 0 && i <= expected.size() && joined.back() != expected[i - 1] &&
            expected[i - 1].rfind(joined.back() + w, 0) == 0)
            joined.back() += w;
        else
            joined.push_back(w);
    }
    EXPECT_EQ(joined, expected);
    CheckPages(file, "pdf");

    // An empty note is one page with its title.
    CNote empty;
    empty.m_title = "Only a title";
    pdf.files = {file};
    ASSERT_TRUE(CNotePrinter::PrintNote(empty, pdf, &pages));
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(PdfPages(file), 1);
    EXPECT_EQ(Words(Shell("pdftotext '" + file + "' -")), Words("Only a title"));
}

TEST_F(Printing, ALongNoteGoesToTheDefaultPrinterOnAsManyPagesAsItNeeds) {
    ASSERT_TRUE(s_cups->Start()) << s_cups->Error();
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    ASSERT_EQ(printer.printerName().toStdString(), s_cups->Queue());

    CNote note;
    note.m_title = "Five thousand words";
    note.m_text = LongText();
    FakeDialogs dialogs;
    int pages = 0;
    ASSERT_TRUE(CNotePrinter::PrintNote(note, dialogs, &pages));
    EXPECT_TRUE(dialogs.boxes.empty());
    const std::string pdf = s_cups->WaitForPdf(120000);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << s_cups->OutputDir();
    // cups-pdf names the file after the job.
    EXPECT_NE(pdf.find("Test_Doc"), std::string::npos) << pdf;
    EXPECT_GT(pages, 5);
    EXPECT_EQ(PdfPages(pdf), pages);
    CheckPages(pdf, "cups");
}
