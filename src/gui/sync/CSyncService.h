#pragma once

#include "core/sync/CSyncSession.h"
#include "core/sync/ISyncService.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QTimer>

class ISyncHost;

// The sync folder in the running program: watched for changes, rescanned at the start, after a
// resume and every few minutes, mirrored after each save; "Sync Now" runs the sync command
// (no shell) and rescans once it is done.
class CSyncService : public QObject, public ISyncService {
    Q_OBJECT
public:
    static constexpr int kPeriodMs = 5 * 60 * 1000;
    // File events come in bursts (a sync tool writes many files): one rescan after they settle.
    static constexpr int kSettleMs = 2000;
    static constexpr qsizetype kShownOutput = 2000; // characters of a failed command's output

    explicit CSyncService(ISyncHost& core);
    ~CSyncService() override;

    // After the data is loaded: the first rescan, then watching.
    void Start();

    void NotesSaved() override;
    void Rescan() override;
    bool CanSyncNow() override;
    void SyncNow() override;
    bool SyncRunning() const { return m_process != nullptr; }

signals:
    void syncFinished(bool ok);

private:
    void Watch();
    void SyncEnded(bool ok, const QString& failure);
    void Tell(const QString& text);

    ISyncHost& m_core;
    CSyncSession m_session;
    QFileSystemWatcher m_watcher;
    QTimer m_settle, m_periodic;
    QPointer<QProcess> m_process;
    bool m_started = false;
};
