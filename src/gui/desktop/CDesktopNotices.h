#pragma once

#include "core/platform/IDesktopNotices.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <optional>

// Desktop notices through the freedesktop notification service on the session bus. Every
// call is asynchronous, so a slow or missing service never holds up the program; without a
// bus or a service, or switched off in "jotterly.conf", no notice is shown and nothing is said.
class CDesktopNotices : public QObject, public IDesktopNotices {
    Q_OBJECT
public:
    // enabled: whether the side settings allow notices, asked at each one.
    CDesktopNotices(const QDBusConnection& bus, std::function<bool()> enabled,
                    QObject* parent = nullptr);
    ~CDesktopNotices() override;

    unsigned Show(const std::string& title, const std::string& body,
                  ActionHandler onAction) override;
    void Withdraw(unsigned ticket) override;

    // Asked when notices are switched off: true shows them all the same.
    void SetShownWhenOff(std::function<bool()> when) { m_showWhenOff = std::move(when); }

    // Known once the service told its capabilities (asked at once, and again when unknown).
    std::optional<bool> ServiceReadsMarkup() const { return m_markup; }

    static constexpr const char* kActionOk = "ok";
    static constexpr const char* kActionRemind = "remind-15";

private slots:
    void OnActionInvoked(uint id, const QString& key);
    void OnNotificationClosed(uint id, uint reason);

private:
    struct Notice {
        uint serverId = 0; // 0 until the service answered
        bool withdrawn = false;
        ActionHandler onAction;
    };
    void OnNotifyReply(unsigned ticket, uint serverId);
    void Close(uint serverId, bool wait);
    void AskCapabilities();
    unsigned TicketOf(uint serverId) const;

    QDBusConnection m_bus;
    std::function<bool()> m_enabled;
    std::map<unsigned, Notice> m_notices;
    unsigned m_nextTicket = 1;
    std::optional<bool> m_markup;
    std::function<bool()> m_showWhenOff;
    bool m_asking = false;
};
