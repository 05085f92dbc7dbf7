// The account dialog, and the mail check run from the tray window against a Dovecot on
// 127.0.0.1: the new-mail window, its stamp and its double click, and Exit during a check.
#include "core/app/TrayIds.h"
#include "core/platform/ProgramFolder.h"
#include "gui/app/CTrayMenuWnd.h"
#include "gui/app/CTrayWnd.h"
#include "gui/mail/CMailAccountDlg.h"
#include "gui/mail/CMailListDlg.h"
#include "gui/platform/QtDialogs.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"
#include "support/DovecotServer.h"
#include "support/Loopback.h"
#include "support/TestCertificates.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace TrayId;

namespace {
// Takes the "mailto:" links the desktop would hand to the mail program.
class MailtoCatcher : public QObject {
    Q_OBJECT
public:
    MailtoCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "Open"); }
    ~MailtoCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("mailto")); }
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

// A listener that takes connections (the system queues them) and never says a word.
struct SilentServer {
    ~SilentServer() { close(fd); }
    unsigned short port = 0;
    int fd = ListenOnLoopback(port);
};

std::string Mail(int n) {
    return "From: sender" + std::to_string(n) + "@example.com\nSubject: Subject number " +
           std::to_string(n) + "\n\nBody\n";
}
} // namespace

TEST(MailAccountDlg, ChecksInOrderAndFillsTheAccountOnOk) {
    QtDialogs::s_shownBoxes.clear();
    QtDialogs::s_nextAnswers.assign(8, IDialogs::AnswerOk);
    CMailAccount account;
    CMailAccountDlg dlg(nullptr, account);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QPushButton* ok = dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    const auto press = [&](const char* expected) {
        QTest::mouseClick(ok, Qt::LeftButton);
        ASSERT_FALSE(QtDialogs::s_shownBoxes.empty());
        EXPECT_EQ(QtDialogs::s_shownBoxes.back(),
                  std::make_pair(std::string(expected), std::string("Oops !")));
        EXPECT_TRUE(dlg.isVisible());
    };

    press("Account Name is required !");
    QTest::keyClicks(dlg.NameEdit(), "A name far longer than twenty-four letters");
    EXPECT_EQ(dlg.NameEdit()->text().size(), 24);
    dlg.NameEdit()->clear();
    QTest::keyClicks(dlg.NameEdit(), "Home");
    press("User Name is required !");
    QTest::keyClicks(dlg.UserEdit(), "ann");
    QTest::keyClicks(dlg.PasswordEdit(), "secret");
    QTest::keyClicks(dlg.VerificationEdit(), "secreT");
    press("Password is not correct !");
    EXPECT_TRUE(dlg.PasswordEdit()->hasFocus());
    dlg.VerificationEdit()->clear();
    QTest::keyClicks(dlg.VerificationEdit(), "secret");

    // The server belongs to POP3 accounts only.
    QTest::keyClick(dlg.TypeBox(), Qt::Key_Down);
    EXPECT_EQ(dlg.TypeBox()->currentText(), "Hotmail");
    EXPECT_FALSE(dlg.ServerEdit()->isEnabled());
    QTest::keyClick(dlg.TypeBox(), Qt::Key_Up);
    EXPECT_TRUE(dlg.ServerEdit()->isEnabled());
    press("Server Name is required !");
    QTest::keyClicks(dlg.ServerEdit(), "pop3s://mail.example.com");
    EXPECT_EQ(dlg.SecurityBox()->currentText(), "SSL/TLS") << "the typed scheme, while typing";
    ImageCompare::Grab(&dlg, "mail", QStringLiteral("account-dialog"));
    EXPECT_TRUE(account.m_name.empty()); // nothing stored before OK passes

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(account.m_name, "Home");
    EXPECT_EQ(account.m_userName, "ann");
    EXPECT_EQ(account.m_password, "secret");
    EXPECT_EQ(account.m_server, "pop3s://mail.example.com");
    EXPECT_EQ(account.m_type, CMailAccount::Pop3);
    QtDialogs::s_nextAnswers.clear();
}

TEST(MailAccountDlg, ConnectionSecurityIsChosenAndWrittenIntoTheServerField) {
    const struct {
        const char* stored;            // the account's server field before
        const char* typed;             // what the server box then holds (null: as shown)
        const char* choice;            // chosen security, null: as shown
        const char* shown;             // the choice the dialog opened with
        const char* written;           // the server field after OK
        const char* follows = nullptr; // the choice the typed scheme shows
    } cases[] = {
        // The written scheme is what the box shows, "pop3://" too: never a stronger choice.
        {"", "pop3://mail.example.com", nullptr, "STARTTLS (required)", "pop3://mail.example.com",
         "STARTTLS if offered (password may be sent in clear)"},
        {"pop3s://s.example.com", "pop3+plain://s.example.com", nullptr, "SSL/TLS",
         "pop3+plain://s.example.com", "None (password sent in clear)"},
        {"", "mail.example.com", "SSL/TLS", "STARTTLS (required)", "pop3s://mail.example.com"},
        {"", "mail.example.com:1110", "None (password sent in clear)", "STARTTLS (required)",
         "pop3+plain://mail.example.com:1110"},
        // An account from an old file keeps what it did until the user picks.
        {"old.example.com", nullptr, nullptr, "STARTTLS if offered (password may be sent in clear)",
         "old.example.com"},
        {"old.example.com", nullptr, "STARTTLS (required)",
         "STARTTLS if offered (password may be sent in clear)", "pop3+starttls://old.example.com"},
        {"pop3s://s.example.com:9950", nullptr, nullptr, "SSL/TLS", "pop3s://s.example.com:9950"},
    };
    QtDialogs::s_nextAnswers.clear();
    for (const auto& c : cases) {
        CMailAccount account;
        account.m_name = "Home", account.m_userName = "ann", account.m_server = c.stored;
        CMailAccountDlg dlg(nullptr, account);
        EXPECT_EQ(dlg.SecurityBox()->currentText(), c.shown) << c.stored;
        EXPECT_EQ(dlg.SecurityBox()->findText(QStringLiteral("STARTTLS if offered"),
                                              Qt::MatchStartsWith) >= 0,
                  std::string(c.shown).starts_with("STARTTLS if")); // only for old accounts
        if (c.typed) dlg.ServerEdit()->setText(c.typed);
        if (c.choice) dlg.SecurityBox()->setCurrentText(c.choice);
        if (c.follows) {
            EXPECT_EQ(dlg.SecurityBox()->currentText(), c.follows) << c.typed;
        }
        dlg.accept();
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << c.stored;
        EXPECT_EQ(account.m_server, c.written) << c.stored;
    }
}

class MailCheckWindow : public ::testing::Test {
protected:
    MailCheckWindow() : tray(QStringLiteral("jotterly-gui-mail-%1").arg(getpid())) {
        server.AddUser("alice", "alice-pw", {Mail(1), Mail(2), Mail(3)});
        EXPECT_TRUE(server.Start()) << server.Error();
        EXPECT_TRUE(tray.Create("nologo"));
        tray.settings().m_mailInterval = 0;
        QtDialogs::s_shownBoxes.clear();
        QtDialogs::s_nextAnswers.assign(4, IDialogs::AnswerOk);
        Pop3CheckOptions options;
        options.timeoutMs = 1500;
        tray.MailService().SetOptions(options);
    }
    ~MailCheckWindow() override { QtDialogs::s_nextAnswers.clear(); }
    void AddAccount(const std::string& name, unsigned short port, const std::string& user) {
        auto a = std::make_unique<CMailAccount>();
        a->m_name = name, a->m_userName = user, a->m_password = user + "-pw";
        a->m_server = "127.0.0.1:" + std::to_string(port);
        tray.Store().AddAccount(std::move(a));
    }

    TestEnv env;
    DovecotServer server;
    CTrayWnd tray;
};

TEST_F(MailCheckWindow, ListsTheMessagesAndADoubleClickOpensTheMailProgram) {
    AddAccount("Alice", server.Port(), "alice");
    AddAccount("Bob", server.Port(), "nobody");
    tray.OnCommand(CmdFirstAccount);
    EXPECT_EQ(tray.MailTarget(), 0);
    EXPECT_TRUE(tray.MailService().MailCheckRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.MailService().ListWindow() != nullptr; }, 10000));
    CMailListDlg* list = tray.MailService().ListWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    EXPECT_FALSE(tray.MailService().MailCheckRunning());
    EXPECT_EQ(tray.MailTarget(), -1);
    EXPECT_EQ(list->Headline()->text(), "You have 3 mails");
    QTableWidget* table = list->List();
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), "Alice");
    EXPECT_EQ(table->item(1, 1)->text(), "sender2@example.com");
    EXPECT_EQ(table->item(2, 2)->text(), "Subject number 3");
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "From");
    const int c = table->viewport()->width() / 3;
    EXPECT_EQ(table->columnWidth(0), 2 * c / 3);
    EXPECT_EQ(table->columnWidth(2), 4 * c / 3);

    // The picture: a rounded frame around the list, the stamp at the list's right edge.
    const QImage shot = ImageCompare::Grab(list, "mail", QStringLiteral("new-mail-window"));
    const QPoint stamp = list->Stamp()->geometry().topLeft() + QPoint(23, 23);
    EXPECT_GT(qRed(shot.pixel(stamp)), 150); // the stamp's red face
    EXPECT_LT(qGreen(shot.pixel(stamp)), 120);
    EXPECT_EQ(list->Stamp()->geometry().right(), table->geometry().right());
    const QRect frame = table->geometry().adjusted(-6, -6, 6, 6);
    EXPECT_NE(shot.pixel(frame.left(), frame.center().y()),
              shot.pixel(frame.left() - 3, frame.center().y())); // the frame's edge
    EXPECT_EQ(shot.pixel(frame.topLeft()), shot.pixel(frame.left() - 3, frame.top() - 3))
        << "the corner is rounded";

    // Made larger, the columns follow and the stamp stays on the list's edge.
    list->resize(list->width() + 120, list->height() + 40);
    QTest::qWait(20);
    EXPECT_EQ(list->Stamp()->geometry().right(), table->geometry().right());
    EXPECT_EQ(table->columnWidth(1), table->viewport()->width() / 3);
    list->resize(100, 100);
    EXPECT_GE(list->width(), list->minimumWidth());

    // A double click on a row starts the mail program and closes the window.
    MailtoCatcher mailto;
    QPointer<CMailListDlg> guard(list);
    const QRect row = list->List()->visualRect(list->List()->model()->index(1, 1));
    QTest::mouseClick(list->List()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->List()->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, 3000));
    ASSERT_EQ(mailto.opened.size(), 1);
    EXPECT_EQ(mailto.opened[0].scheme(), "mailto");
}

TEST_F(MailCheckWindow, ExitDuringACheckOfASilentServerDoesNotWaitForIt) {
    SilentServer silent;
    AddAccount("Silent", silent.port, "alice");
    tray.OnCommand(CmdFirstAccount);
    ASSERT_TRUE(tray.MailService().MailCheckRunning());
    QElapsedTimer exiting;
    exiting.start();
    tray.OnCommand(CmdExit);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tray.MailService().MailCheckRunning(); }, 5000));
    EXPECT_LT(exiting.elapsed(), 1000);
    EXPECT_FALSE(tray.IsTimerActive(CTrayCore::TimerExitWait));
}

TEST_F(MailCheckWindow, ACertificateTrustedByItsFingerprintIsKeptAndTheCheckRunsAgain) {
    TestCertificates certs;
    ASSERT_TRUE(certs.Ok()) << certs.Error();
    DovecotServer self;
    self.EnableTls(certs.SelfSignedCert(), certs.SelfSignedKey());
    self.AddUser("alice", "alice-pw", {Mail(1)});
    ASSERT_TRUE(self.Start()) << self.Error();
    AddAccount("Self", 0, "alice");
    tray.Store().accounts()[0]->m_server = "pop3s://localhost:" + std::to_string(self.TlsPort());
    QtDialogs::s_nextAnswers = {IDialogs::AnswerYes};
    tray.OnCommand(CmdFirstAccount);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.MailService().ListWindow() != nullptr; }, 20000));
    ASSERT_FALSE(QtDialogs::s_shownBoxes.empty());
    EXPECT_EQ(QtDialogs::s_shownBoxes.front().second, "Untrusted certificate");
    EXPECT_EQ(tray.MailService().ListWindow()->List()->rowCount(), 1);
    const std::string text = ReadFile(ProgramFolder() + "jotterly.conf");
    EXPECT_NE(text.find("mail_certificate.alice@localhost:" + std::to_string(self.TlsPort()) + "="),
              std::string::npos)
        << text;
    tray.MailService().ListWindow()->close();
}

TEST(MailListDlg, ServerWordsAreShownAsTextNeverAsMarkup) {
    CMailListDlg list;
    list.SetContent("You have 1 mail", {{0, CMailAccount::Pop3, "Evil", " <b>x</b>", " y"}},
                    {"Not checked: Evil: the server answered \"<font color=red>"
                     "RED RED RED RED</font>\""});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const QImage shot = ImageCompare::Grab(&list, "mail", QStringLiteral("new-mail-report"));
    // The stamp is red; nothing else may be.
    const auto red = [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80; };
    EXPECT_EQ(Pixels::CountIf(shot, shot.rect(), red),
              Pixels::CountIf(shot, list.Stamp()->geometry(), red));
    EXPECT_EQ(list.List()->item(0, 1)->text(), "<b>x</b>");
}

#include "MailWindowsTest.moc"
