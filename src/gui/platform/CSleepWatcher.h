#pragma once

#include <QObject>

// Reports a resume from suspend, where the session's login manager announces it on the system
// bus. Without that bus nothing is reported; the alarm check's clock-jump test covers it then.
class CSleepWatcher : public QObject {
    Q_OBJECT
public:
    explicit CSleepWatcher(QObject* parent = nullptr);
    bool IsConnected() const { return m_connected; }

signals:
    void resumed();

private slots:
    void OnPrepareForSleep(bool sleeping);

private:
    bool m_connected = false;
};
