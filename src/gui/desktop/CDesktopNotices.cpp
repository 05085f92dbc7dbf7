#include "gui/desktop/CDesktopNotices.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <utility>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage Call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}
} // namespace

CDesktopNotices::CDesktopNotices(const QDBusConnection& bus, std::function<bool()> enabled,
                                 QObject* parent)
    : QObject(parent), m_bus(bus), m_enabled(std::move(enabled)) {
    if (!m_bus.isConnected()) return;
    // The signals come from the service's unique name: any sender, our ids only.
    m_bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(OnActionInvoked(uint, QString)));
    m_bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(OnNotificationClosed(uint, uint)));
    AskCapabilities();
}

CDesktopNotices::~CDesktopNotices() {
    // Notices of notes still ringing would outlive the program and their buttons lead nowhere.
    for (auto& [ticket, notice] : m_notices)
        if (notice.serverId) Close(notice.serverId, true);
}

void CDesktopNotices::AskCapabilities() {
    if (m_asking || m_markup.has_value()) return;
    m_asking = true;
    auto* watcher =
        new QDBusPendingCallWatcher(m_bus.asyncCall(Call(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        QDBusPendingReply<QStringList> reply = *w;
        // Without an answer (no service yet) it is asked again at the next notice.
        if (reply.isValid()) m_markup = reply.value().contains(QStringLiteral("body-markup"));
        m_asking = false;
        w->deleteLater();
    });
}

unsigned CDesktopNotices::Show(const std::string& title, const std::string& body,
                               ActionHandler onAction) {
    if (!m_bus.isConnected()) return 0;
    // Switched off, a notice still tells of a ring that nobody can hear.
    if (!m_enabled() && !(m_showWhenOff && m_showWhenOff())) return 0;
    AskCapabilities();
    QString text = QString::fromStdString(body);
    // A service that reads markup must see the note's text as text; while it is not known
    // whether it does, escaping is the safe side.
    if (m_markup.value_or(true)) text = text.toHtmlEscaped();

    QDBusMessage msg = Call(QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("jotterly"));
    hints.insert(QStringLiteral("category"), QStringLiteral("x-jotterly.reminder"));
    // A notice nobody answers (a reminder told of while the manager is open) has no buttons.
    const QStringList actions =
        onAction ? QStringList{QString::fromLatin1(kActionOk), QStringLiteral("OK"),
                               QString::fromLatin1(kActionRemind),
                               QStringLiteral("Remind me in 15 minutes")}
                 : QStringList{};
    // Never expires: the note rings until it is acknowledged, and then the notice goes.
    msg << QStringLiteral("Jotterly") << uint(0) << QStringLiteral("jotterly")
        << QString::fromStdString(title) << text << actions << hints << int(0);

    const unsigned ticket = m_nextTicket++;
    m_notices[ticket].onAction = std::move(onAction);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(msg), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, ticket](QDBusPendingCallWatcher* w) {
                QDBusPendingReply<uint> reply = *w;
                OnNotifyReply(ticket, reply.isValid() ? reply.value() : 0);
                w->deleteLater();
            });
    return ticket;
}

void CDesktopNotices::OnNotifyReply(unsigned ticket, uint serverId) {
    auto it = m_notices.find(ticket);
    if (it == m_notices.end()) return;
    // No service, or it refused: the ringing window alone, as without a bus.
    if (!serverId) {
        m_notices.erase(it);
        return;
    }
    if (it->second.withdrawn) {
        Close(serverId, false);
        m_notices.erase(it);
        return;
    }
    it->second.serverId = serverId;
}

void CDesktopNotices::Withdraw(unsigned ticket) {
    auto it = m_notices.find(ticket);
    if (it == m_notices.end()) return;
    it->second.onAction = nullptr;
    if (!it->second.serverId) {
        it->second.withdrawn = true; // closed as soon as the service gives its id
        return;
    }
    Close(it->second.serverId, false);
    m_notices.erase(it);
}

void CDesktopNotices::Close(uint serverId, bool wait) {
    QDBusMessage msg = Call(QStringLiteral("CloseNotification"));
    msg << serverId;
    if (wait)
        m_bus.call(msg, QDBus::Block, 500);
    else
        m_bus.asyncCall(msg);
}

unsigned CDesktopNotices::TicketOf(uint serverId) const {
    for (const auto& [ticket, notice] : m_notices)
        if (notice.serverId == serverId) return ticket;
    return 0;
}

void CDesktopNotices::OnActionInvoked(uint id, const QString& key) {
    const unsigned ticket = TicketOf(id);
    if (!ticket) return;
    Action action;
    if (key == QLatin1String(kActionOk))
        action = Action::Acknowledge;
    else if (key == QLatin1String(kActionRemind))
        action = Action::RemindLater;
    else
        return;
    // The handler may withdraw this very notice: it runs from a copy.
    ActionHandler handler = m_notices[ticket].onAction;
    if (handler) handler(action);
}

void CDesktopNotices::OnNotificationClosed(uint id, uint) {
    // Dismissed by the user or the service: the note rings on in its window.
    if (const unsigned ticket = TicketOf(id)) m_notices.erase(ticket);
}
