// A notification service for the tests, on whatever session bus DBUS_SESSION_BUS_ADDRESS
// names: it records every Notify and CloseNotification and, when the test asks through its
// control object, invokes an action as a user's click would.
//   jotterly_notification_server [--markup]
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

namespace {
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

void Emit(const QString& name, const QVariantList& args) {
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, name);
    signal.setArguments(args);
    QDBusConnection::sessionBus().send(signal);
}
} // namespace

class NotificationLog : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationLog(bool markup) : m_markup(markup) {}
    QStringList calls;

public slots:
    QStringList GetCapabilities() {
        QStringList caps{QStringLiteral("body"), QStringLiteral("actions")};
        if (m_markup) caps << QStringLiteral("body-markup");
        return caps;
    }
    uint Notify(const QString& app, uint, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout) {
        const uint id = ++m_lastId;
        calls << QStringLiteral("Notify %1|%2|%3|%4|%5|%6|%7|%8")
                     .arg(id)
                     .arg(app, icon, summary, body, actions.join(QLatin1Char(',')),
                          hints.value(QStringLiteral("desktop-entry")).toString())
                     .arg(timeout);
        return id;
    }
    void CloseNotification(uint id) {
        calls << QStringLiteral("CloseNotification %1").arg(id);
        Emit(QStringLiteral("NotificationClosed"), {id, uint(3)});
    }
    QString GetServerInformation(QString& vendor, QString& version, QString& protocolVersion) {
        vendor = QStringLiteral("tests");
        version = QStringLiteral("1");
        protocolVersion = QStringLiteral("1.2");
        return QStringLiteral("recorder");
    }

private:
    bool m_markup;
    uint m_lastId = 0;
};

class Control : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.jotterly.TestNotifications")
public:
    explicit Control(NotificationLog& log) : m_log(log) {}

public slots:
    QStringList Calls() { return m_log.calls; }
    // As a click on a notice's button: the action, then the notice goes.
    void InvokeAction(uint id, const QString& key) {
        Emit(QStringLiteral("ActionInvoked"), {id, key});
        Emit(QStringLiteral("NotificationClosed"), {id, uint(2)});
    }

private:
    NotificationLog& m_log;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    NotificationLog log(app.arguments().contains(QStringLiteral("--markup")));
    Control control(log);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(kPath, &log, QDBusConnection::ExportAllSlots) ||
        !bus.registerObject(QStringLiteral("/control"), &control,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "notification server: no bus or name taken\n");
        return 1;
    }
    return app.exec();
}

#include "NotificationServer.moc"
