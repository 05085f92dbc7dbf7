#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP delivered on the user-interface thread. The handler itself only
// writes a byte into a socket pair; a notifier on the other end emits received().
class CSignalWatcher : public QObject {
    Q_OBJECT
public:
    // Installs the handlers, once per process, before any window exists.
    static void Install();

    // Watches only when the handlers are installed.
    explicit CSignalWatcher(QObject* parent = nullptr);

signals:
    void received();

private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
};
