#include "core/app/TrayIds.h"
#include "core/platform/Clock.h"
#include "gui/app/CAboutDlg.h"
#include "gui/app/CTrayMenuWnd.h"
#include "gui/app/CTrayWnd.h"
#include "gui/platform/QtDialogs.h"
#include "gui/platform/ResourceImages.h"
#include "gui/sticky/CStickyNoteDlg.h"
#include "gui/support/ImageCompare.h"
#include "support/Fakes.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
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
        EXPECT_TRUE(tray.Create("nologo"));
        QtDialogs::s_shownBoxes.clear();
        // A box that should not come is recorded and answered, rather than waiting forever.
        QtDialogs::s_nextAnswers.assign(4, IDialogs::AnswerOk);
    }
    ~TrayWndTest() override {
        if (tray.MenuWindow()) tray.MenuWindow()->hide();
        QtDialogs::s_nextAnswers.clear();
    }
    // Opens the menu as a right click would, and clicks through the given item data.
    void ChooseFromMenu(std::initializer_list<int> path) {
        // The menu of an earlier choice is deleted later: wait until it is gone, or the new
        // one could not be told from it.
        ASSERT_TRUE(QTest::qWaitFor([this] { return tray.MenuWindow() == nullptr; }, 2000));
        tray.OnTrayActivated(QSystemTrayIcon::Context);
        ASSERT_TRUE(QTest::qWaitFor([this] { return tray.MenuWindow() != nullptr; }, 2000));
        QPointer<CTrayMenuWnd> menu = tray.MenuWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        for (int data : path) {
            ASSERT_TRUE(menu && menu->IndexOfData(data) >= 0) << data;
            const QPoint at = menu->ItemRect(menu->IndexOfData(data)).center();
            QTest::mouseMove(menu, at);
            QTest::mouseClick(menu, Qt::LeftButton, {}, at);
            menu = menu->Submenu();
        }
    }

    static inline int s_count = 0;
    TestEnv env; // a private data folder for each test
    CTrayWnd tray;
};

// Opening the manager by a single click, the menu's commands and Exit are driven on the real
// program; this tray's way of reporting a double click is not.
TEST_F(TrayWndTest, TwoPressesAndQtsDoubleClickReportMakeOneNoteAndNoClick) {
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(250);
    const size_t start = tray.Store().notes().size(); // the welcome note
    // Qt 6 on an XEmbed tray: press, press, then its own double-click report.
    for (auto reason :
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick})
        tray.OnTrayActivated(reason);
    // A click left pending would open the manager (modally) once the double-click time is up.
    ASSERT_FALSE(tray.IsTimerActive(CTrayCore::TimerClick));
    QTest::qWait(400);
    EXPECT_EQ(tray.Store().notes().size(), start + 1);
}

TEST_F(TrayWndTest, HelpMenuOpensThePageTheHomepageAndTheAboutBox) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    tray.SetProgramDir(QStringLiteral(JOTTERLY_BINARY_DIR));
    ChooseFromMenu({DataHelp, CmdContents});
    ChooseFromMenu({DataHelp, CmdHomepage});
    EXPECT_TRUE(QTest::qWaitFor([&] { return catcher.urls.size() == 2; }, 2000));
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(QFileInfo(catcher.urls[0].toLocalFile()).canonicalFilePath(),
              QFileInfo(JOTTERLY_BINARY_DIR "/help/index.html").canonicalFilePath());
    // No home page is set up: Homepage opens the help page too, not a placeholder.
    EXPECT_EQ(catcher.urls[1], catcher.urls[0]);
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

    // About: a modal box with the name, the version and what the program is.
    QStringList texts;
    QTimer::singleShot(300, [&] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (!about) return;
        for (const char* name : {"name", "version", "description"})
            texts << about->findChild<QLabel*>(name)->text();
        ImageCompare::Grab(about, "app", "about");
        about->accept();
    });
    ChooseFromMenu({DataHelp, CmdAbout});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !texts.isEmpty(); }, 3000));
    EXPECT_EQ(texts,
              QStringList({"Jotterly", "Version " JOTTERLY_VERSION, CAboutDlg::kDescription}));
}

// A ring nobody can hear flashes the tray icon with the ringing picture until it is answered.
TEST_F(TrayWndTest, ASilentRingFlashesTheTrayIconUntilAnswered) {
    static FakeSound silent; // no sound device; outlives the tray, which keeps it
    PlatformServices platform = tray.Platform();
    platform.sound = &silent;
    tray.SetPlatform(platform);
    const auto picture = [](const QIcon& icon) { return icon.pixmap(QSize(16, 16)).toImage(); };
    const QImage normal = picture(ResourceImages::Icon(IconNormal));
    const QImage ringing = picture(ResourceImages::Icon(IconRinging));
    const auto shows = [&](const QImage& image) {
        return QTest::qWaitFor([&] { return picture(tray.TrayIcon()->icon()) == image; }, 2000);
    };
    ASSERT_NE(normal, ringing);
    EXPECT_TRUE(shows(normal));

    CNote& note = NoteBuilder()
                      .Title("Dentist")
                      .At(Clock::Now() - COleDateTimeSpan(0, 0, 0, 1))
                      .DueSoonNow()
                      .AddTo(tray.Store());
    tray.Alarms().CheckAlarms();
    ASSERT_EQ(tray.State(), CTrayCore::StateRinging);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(shows(ringing)) << i;
        EXPECT_TRUE(shows(normal)) << i;
    }
    auto* window = dynamic_cast<CStickyNoteDlg*>(note.Window());
    ASSERT_TRUE(window);
    EXPECT_TRUE(shows(ringing));
    window->OnOK();
    EXPECT_EQ(tray.State(), CTrayCore::StateIdle);
    EXPECT_EQ(picture(tray.TrayIcon()->icon()), normal) << "the flash ends with the ring";
    QTest::qWait(3 * CRingIconFlash::kPeriodMs);
    EXPECT_EQ(picture(tray.TrayIcon()->icon()), normal) << "and stays ended";
}

} // namespace

#include "TrayWndTest.moc"
