#include "app/CAboutDlg.h"
#include "app/CTrayMenuWnd.h"
#include "app/CTrayWnd.h"
#include "app/HomePage.h"
#include "app/TrayIds.h"
#include "platform/QtDialogs.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace TrayId;

// Takes the addresses the program hands to the desktop, instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

namespace {

class TrayWndTest : public ::testing::Test {
protected:
    TrayWndTest() : tray(QStringLiteral("jotterly-gui-tray-%1-%2").arg(getpid()).arg(++s_count)) {
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(250);
        EXPECT_TRUE(tray.Create("nologo"));
        QtDialogs::s_shownBoxes.clear();
        // A box that should not come is recorded and answered, rather than waiting forever.
        QtDialogs::s_nextAnswers.assign(4, IDialogs::AnswerOk);
    }
    ~TrayWndTest() override {
        if (tray.MenuWindow()) tray.MenuWindow()->hide();
        QtDialogs::s_nextAnswers.clear();
    }
    size_t Notes() const { return tray.m_notes.size(); }
    // Opens the menu as a right click would, and clicks through the given item data.
    void ChooseFromMenu(std::initializer_list<int> path) {
        tray.OnTrayActivated(QSystemTrayIcon::Context);
        ASSERT_TRUE(QTest::qWaitFor([this] { return tray.MenuWindow() != nullptr; }, 2000));
        CTrayMenuWnd* menu = tray.MenuWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        for (int data : path) {
            ASSERT_NE(menu, nullptr);
            int index = menu->IndexOfData(data);
            ASSERT_GE(index, 0) << data;
            QPoint at = menu->ItemRect(index).center();
            QTest::mouseMove(menu, at);
            QTest::mouseClick(menu, Qt::LeftButton, {}, at);
            menu = menu->Submenu();
        }
    }

    static int s_count;
    TestEnv env; // a private data folder for each test
    CTrayWnd tray;
};
int TrayWndTest::s_count = 0;

TEST_F(TrayWndTest, TrayClicksMakeNotesAndOpenTheMenu) {
    const size_t start = Notes(); // the welcome note
    // Qt 6 on an XEmbed tray: press, press, then its own double-click report.
    tray.OnTrayActivated(QSystemTrayIcon::Trigger);
    tray.OnTrayActivated(QSystemTrayIcon::Trigger);
    tray.OnTrayActivated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(Notes(), start + 1);
    QTest::qWait(400);
    EXPECT_EQ(Notes(), start + 1);
    EXPECT_FALSE(tray.IsTimerActive(CTrayCore::TimerClick));

    // A single click waits for the double-click time, then goes to the (future) manager.
    tray.OnTrayActivated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(tray.IsTimerActive(CTrayCore::TimerClick));
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return !tray.IsTimerActive(CTrayCore::TimerClick); }, 2000));
    EXPECT_EQ(Notes(), start + 1);

    ChooseFromMenu({CmdNewNote});
    EXPECT_TRUE(QTest::qWaitFor([&] { return Notes() == start + 2; }, 2000));
    EXPECT_FALSE(tray.MenuWindow() && tray.MenuWindow()->isVisible());

    // No menu while the state is not idle.
    tray.m_state = CTrayCore::StateFileTransfer;
    tray.OnTrayActivated(QSystemTrayIcon::Context);
    QTest::qWait(100);
    EXPECT_FALSE(tray.MenuWindow() && tray.MenuWindow()->isVisible());
    tray.m_state = CTrayCore::StateIdle;
}

TEST_F(TrayWndTest, HelpOpensTheShippedPageAndHomepageTheAddress) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QDesktopServices::setUrlHandler("https", &catcher, "open");

    tray.SetProgramDir(QStringLiteral(JOTTERLY_BINARY_DIR));
    ChooseFromMenu({DataHelp, CmdContents});
    EXPECT_TRUE(QTest::qWaitFor([&] { return catcher.urls.size() == 1; }, 2000));
    ChooseFromMenu({DataHelp, CmdHomepage});
    EXPECT_TRUE(QTest::qWaitFor([&] { return catcher.urls.size() == 2; }, 2000));
    ASSERT_EQ(catcher.urls.size(), 2);
    QFileInfo page(catcher.urls[0].toLocalFile());
    EXPECT_TRUE(page.isFile());
    EXPECT_EQ(
        page.canonicalFilePath(),
        QFileInfo(QStringLiteral(JOTTERLY_BINARY_DIR "/help/index.html")).canonicalFilePath());
    EXPECT_EQ(catcher.urls[1], QUrl(QString::fromLatin1(kHomePageUrl)));
    EXPECT_TRUE(QtDialogs::s_shownBoxes.empty());

    // Without the page the user is told so.
    QTemporaryDir empty;
    tray.SetProgramDir(empty.path());
    tray.OnCommand(CmdContents);
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 1u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].second, "Sorry");
    EXPECT_EQ(catcher.urls.size(), 2);

    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");
}

TEST_F(TrayWndTest, AboutShowsNameVersionAndWhatItIs) {
    QString name, version, description;
    bool wasModal = false;
    QImage picture;
    QTimer::singleShot(300, [&] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (!about) return;
        wasModal = about->isModal();
        name = about->findChild<QLabel*>("name")->text();
        version = about->findChild<QLabel*>("version")->text();
        description = about->findChild<QLabel*>("description")->text();
        picture = about->grab().toImage();
        about->accept();
    });
    ChooseFromMenu({DataHelp, CmdAbout});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !name.isEmpty(); }, 3000));
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(name, "Jotterly");
    EXPECT_EQ(version, "Version " JOTTERLY_VERSION);
    EXPECT_EQ(description, CAboutDlg::kDescription);
    QDir().mkpath(JOTTERLY_BINARY_DIR "/test-output");
    picture.save(JOTTERLY_BINARY_DIR "/test-output/about.png");
}

TEST_F(TrayWndTest, ExitRemovesTheIconStopsTheTimersAndSaves) {
    tray.OnTrayActivated(QSystemTrayIcon::Trigger);
    tray.OnTrayActivated(QSystemTrayIcon::DoubleClick);
    const size_t notes = Notes();
    EXPECT_TRUE(tray.IsTimerActive(CTrayCore::TimerCheck));
    ChooseFromMenu({CmdExit});
    EXPECT_TRUE(QTest::qWaitFor([&] { return tray.m_state == CTrayCore::StateExiting; }, 2000));
    EXPECT_FALSE(tray.TrayIcon()->isVisible());
    EXPECT_FALSE(tray.IsTimerActive(CTrayCore::TimerCheck));
    EXPECT_FALSE(tray.IsTimerActive(CTrayCore::TimerRefresh));
    ASSERT_TRUE(std::filesystem::exists(env.DataFolder() + "Note.Dat"));

    // What was saved is what the program holds.
    CTrayCore reread;
    reread.LoadData();
    EXPECT_EQ(reread.m_notes.size(), notes);
}

} // namespace

#include "TrayWndTest.moc"
