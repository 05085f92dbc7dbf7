// Desktop notices of ringing notes against a real session bus: a private dbus-daemon and the
// recording notification service (jotterly_notification_server) run for these tests only and
// are stopped by their process ids. The notes ring in their real windows.
#include "gui/sticky/StickyNoteFixture.h"

#include "core/alarms/RingingCount.h"
#include "core/platform/Clock.h"
#include "core/storage/CSideConfig.h"
#include "gui/desktop/CDesktopNotices.h"
#include "gui/widgets/CHoverButton.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <sys/prctl.h>

namespace {

const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");

// A process of the test's own, ended by its id, and by the system should the test die first.
struct OwnProcess {
    OwnProcess() {
        process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    }
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    ~OwnProcess() { Stop(); }
    void Stop() {
        if (process->state() == QProcess::NotRunning) return;
        ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
        process->waitForFinished(3000);
    }
};

class DesktopNotices : public StickyNoteFixture {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<QTemporaryDir>();
        const QString config = s_dir->filePath(QStringLiteral("bus.conf"));
        QFile f(config);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // A session bus of its own, without activatable services: every name may be owned,
        // everything sent and received.
        f.write(QStringLiteral("<busconfig><type>session</type>"
                               "<listen>unix:path=%1</listen><auth>EXTERNAL</auth>"
                               "<policy context=\"default\"><allow send_destination=\"*\"/>"
                               "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy>"
                               "<limit name=\"max_incoming_bytes\">100000000</limit>"
                               "<limit name=\"max_outgoing_bytes\">100000000</limit>"
                               "<limit name=\"max_message_size\">10000000</limit>"
                               "<limit name=\"max_replies_per_connection\">1000</limit>"
                               "</busconfig>")
                    .arg(s_dir->filePath(QStringLiteral("bus")))
                    .toUtf8());
        f.close();
        s_daemon = std::make_unique<OwnProcess>();
        s_daemon->process->start(QStringLiteral("dbus-daemon"),
                                 {QStringLiteral("--config-file=") + config,
                                  QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        ASSERT_TRUE(s_daemon->process->waitForReadyRead(5000)) << "dbus-daemon did not start";
        s_address = QString::fromUtf8(s_daemon->process->readLine()).trimmed();
    }
    static void TearDownTestSuite() {
        s_daemon.reset();
        s_dir.reset();
    }

    void SetUp() override {
        StickyNoteFixture::SetUp();
        Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
        bus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(s_address, QStringLiteral("notices-test")));
        ASSERT_TRUE(bus->isConnected());
    }
    void TearDown() override {
        StickyNoteFixture::TearDown();
        notices.reset();
        server.Stop();
        bus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("notices-test"));
    }

    void StartServer(bool markup = false) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), s_address);
        server.process->setProcessEnvironment(env);
        server.process->start(QStringLiteral(JOTTERLY_BINARY_DIR "/jotterly_notification_server"),
                              markup ? QStringList{QStringLiteral("--markup")} : QStringList{});
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return bus->interface()->isServiceRegistered(kNotifications).value(); }, 5000));
    }
    // The program's notices on the test bus, as the tray window wires them.
    void UseNotices(const QDBusConnection& connection) {
        notices = std::make_unique<CDesktopNotices>(
            connection, [this] { return tray.Side().desktopNotifications; });
        PlatformServices services = platform.Services(&factory);
        services.notices = notices.get();
        tray.SetPlatform(services);
    }
    QStringList Calls() {
        QDBusReply<QStringList> reply = bus->call(QDBusMessage::createMethodCall(
            kNotifications, QStringLiteral("/control"),
            QStringLiteral("org.jotterly.TestNotifications"), QStringLiteral("Calls")));
        return reply.isValid() ? reply.value() : QStringList{QStringLiteral("no answer")};
    }
    // timeout: how long to wait for the calls; for none, how long none may come.
    QStringList WaitForCalls(int count, int timeout = 3000) {
        (void)QTest::qWaitFor([&] { return Calls().size() >= count; }, timeout);
        QTest::qWait(50); // nothing more arrives
        return Calls();
    }
    void Invoke(uint id, const char* key) {
        bus->call(QDBusMessage::createMethodCall(kNotifications, QStringLiteral("/control"),
                                                 QStringLiteral("org.jotterly.TestNotifications"),
                                                 QStringLiteral("InvokeAction"))
                  << id << QString::fromLatin1(key));
    }

    // A One Time note due a second ago, rung by the real alarm check.
    CStickyNoteDlg* Ring(bool posted, const std::string& text = "\r\n  Bring the X-rays \r\nok") {
        CNote& n = NoteBuilder().Title("Dentist").Text(text).AddTo(tray.Store());
        n.m_startTime = Clock::Now() - COleDateTimeSpan(0, 0, 0, 1);
        n.Recompute();
        if (posted) n.OpenWindow(-1, -1, false, factory);
        tray.Alarms().CheckAlarms();
        return Window(n);
    }
    static std::vector<std::pair<std::string, double>> NotesOnDisk() {
        CTrayCore reader;
        reader.LoadData();
        std::vector<std::pair<std::string, double>> notes;
        for (const auto& n : reader.Store().notes())
            notes.emplace_back(n->m_title, n->m_alarmTime.m_dt);
        return notes;
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<OwnProcess> s_daemon;
    static inline QString s_address;
    TestEnv env;
    std::unique_ptr<QDBusConnection> bus;
    OwnProcess server;
    std::unique_ptr<CDesktopNotices> notices;
};

TEST_F(DesktopNotices, RingingNoteSendsOneNoticeWhoseOkAcknowledgesIt) {
    StartServer();
    UseNotices(*bus);
    CStickyNoteDlg* w = Ring(false);
    ASSERT_TRUE(w && w->IsRinging());
    // Title, the first line holding text, both buttons; never expiring while the note rings.
    EXPECT_EQ(WaitForCalls(1),
              QStringList{"Notify 1|Jotterly|jotterly|Dentist|Bring the X-rays|ok,OK,remind-15,"
                          "Remind me in 15 minutes|jotterly|0"});
    tray.Alarms().CheckAlarms(); // a later check neither rings nor notifies again
    QPointer<CStickyNoteDlg> window = w;

    Invoke(1, CDesktopNotices::kActionOk);
    // As the window's OK: the acknowledged one-time note and its window are gone.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.Store().notes().empty(); }, 3000));
    DrainDeletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(Calls().size(), 2);
    EXPECT_EQ(Calls().value(1), "CloseNotification 1");
}

TEST_F(DesktopNotices, RemindLaterSnoozesAndOkInTheWindowWithdrawsTheNotice) {
    StartServer();
    UseNotices(*bus);
    CStickyNoteDlg* first = Ring(true);
    ASSERT_EQ(WaitForCalls(1).size(), 1);
    Invoke(1, CDesktopNotices::kActionRemind);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first->IsRinging(); }, 3000));
    // Kept and rung again a quarter of an hour later; the posted window back in its place.
    ASSERT_EQ(NotesOnDisk().size(), 1u);
    EXPECT_EQ(NotesOnDisk()[0].first, "Dentist");
    EXPECT_EQ(COleDateTime::WholeMinutes(COleDateTime(NotesOnDisk()[0].second) - Clock::Now()), 15);
    EXPECT_TRUE(first->isVisible());

    CStickyNoteDlg* second = Ring(true, "Take the pills");
    ASSERT_EQ(WaitForCalls(3).size(), 3);
    EXPECT_TRUE(Calls().value(2).startsWith("Notify 2|Jotterly|jotterly|Dentist|Take the pills|"));
    QPointer<CStickyNoteDlg> guard = second;
    QTest::mouseClick(second->windowHandle(), Qt::LeftButton, {},
                      second->OkButton()->mapTo(second, second->OkButton()->rect().center()));
    DrainDeletes();
    EXPECT_TRUE(guard.isNull()); // the one-time note is done with
    EXPECT_EQ(WaitForCalls(4).value(3), "CloseNotification 2");
}

TEST_F(DesktopNotices, MarkupIsEscapedOnlyForAServiceThatReadsIt) {
    for (bool markup : {true, false}) {
        StartServer(markup);
        UseNotices(*bus);
        ASSERT_TRUE(QTest::qWaitFor([&] { return notices->ServiceReadsMarkup().has_value(); }));
        Ring(false, "<b>Tom & Jerry</b>");
        const QStringList calls = WaitForCalls(1);
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].section('|', 4, 4),
                  markup ? "&lt;b&gt;Tom &amp; Jerry&lt;/b&gt;" : "<b>Tom & Jerry</b>");
        tray.DeleteAllData();
        DrainDeletes();
        notices.reset();
        server.Stop();
    }
}

TEST_F(DesktopNotices, SwitchedOffOrWithoutServiceOrBusTheNoteRingsAlone) {
    // Switched off in the side file: the service hears nothing.
    StartServer();
    CSideConfig config;
    config.Set(CSideConfig::kDesktopNotifications, "0");
    QDir().mkpath(QString::fromStdString(env.DataFolder()));
    ASSERT_TRUE(config.Save(env.DataFolder() + CSideConfig::kFileName));
    UseNotices(*bus);
    EXPECT_TRUE(Ring(false)->IsRinging());
    EXPECT_TRUE(WaitForCalls(1, 400).isEmpty());
    // ... unless nobody could hear the ring: then the notice comes all the same.
    tray.DeleteAllData();
    DrainDeletes();
    notices->SetShownWhenOff([] { return true; });
    EXPECT_TRUE(Ring(false)->IsRinging());
    EXPECT_FALSE(WaitForCalls(1, 5000).isEmpty());
    server.Stop();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(env.DataFolder()) + "jotterly.conf"));

    // No service on the bus, then no bus at all: silent, and OK still acknowledges.
    for (bool withBus : {true, false}) {
        tray.DeleteAllData();
        DrainDeletes();
        UseNotices(withBus ? *bus
                           : QDBusConnection::connectToBus(
                                 QStringLiteral("unix:path=/nonexistent/bus"), "dead"));
        CStickyNoteDlg* w = Ring(true);
        ASSERT_TRUE(w->IsRinging());
        QTest::qWait(100);
        EXPECT_TRUE(platform.dialogs.boxes.empty());
        w->OnOK();
        EXPECT_FALSE(w->IsRinging());
        EXPECT_EQ(g_ringingCount, 0);
    }
}

} // namespace
