#include "gui/sync/CSyncService.h"

#include "core/platform/IDialogs.h"
#include "core/platform/PlatformServices.h"
#include "core/sync/CExecLine.h"
#include "core/sync/ISyncHost.h"

#include <QStringList>

CSyncService::CSyncService(ISyncHost& core) : m_core(core), m_session(core, core.DataPath()) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &CSyncService::Rescan);
    m_periodic.setInterval(kPeriodMs);
    connect(&m_periodic, &QTimer::timeout, this, &CSyncService::Rescan);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(); });
}

CSyncService::~CSyncService() {
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(2000);
    }
}

void CSyncService::Start() {
    m_started = true;
    m_periodic.start();
    Rescan();
}

void CSyncService::Watch() {
    const QStringList watched = m_watcher.directories();
    const QString folder =
        m_session.Active() ? QString::fromStdString(m_session.FolderPath()) : QString();
    if (watched.size() == 1 && watched.front() == folder) return;
    if (!watched.isEmpty()) m_watcher.removePaths(watched);
    if (!folder.isEmpty()) m_watcher.addPath(folder); // a folder not there yet: the timer looks
}

void CSyncService::NotesSaved() {
    m_session.NotesSaved();
    Watch();
}

void CSyncService::Rescan() {
    if (!m_started) return;
    if (!m_session.MayRescan()) {
        m_settle.start(); // once the Note Manager or the options close
        return;
    }
    m_session.Rescan();
    Watch();
}

bool CSyncService::CanSyncNow() {
    m_session.ReadConfig();
    return !m_session.Command().empty();
}

void CSyncService::Tell(const QString& text) {
    if (IDialogs* dialogs = m_core.Platform().dialogs)
        dialogs->MessageBox(text.toStdString(), CSyncSession::kCaption, IDialogs::Ok,
                            IDialogs::Warning);
}

void CSyncService::SyncNow() {
    if (m_process) return; // one run at a time
    m_session.ReadConfig();
    std::vector<std::string> args;
    std::string error;
    if (!CExecLine::Split(m_session.Command(), args, &error)) {
        SyncEnded(false, QString::fromStdString(error));
        return;
    }
    auto* process = new QProcess(this);
    m_process = process;
    process->setProcessChannelMode(QProcess::MergedChannels);
    const QString program = QString::fromStdString(args.front());
    QStringList arguments;
    for (size_t i = 1; i < args.size(); ++i)
        arguments << QString::fromStdString(args[i]);
    connect(process, &QProcess::finished, this,
            [this, process, program](int code, QProcess::ExitStatus status) {
                const QString output = QString::fromLocal8Bit(process->readAll()).trimmed();
                process->deleteLater();
                if (status == QProcess::NormalExit && code == 0) {
                    SyncEnded(true, {});
                    return;
                }
                QString text =
                    status == QProcess::NormalExit
                        ? QStringLiteral("\"%1\" ended with exit code %2.").arg(program).arg(code)
                        : QStringLiteral("\"%1\" stopped unexpectedly.").arg(program);
                if (!output.isEmpty()) text += QStringLiteral("\n\n") + output.right(kShownOutput);
                SyncEnded(false, text);
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, program](QProcess::ProcessError e) {
                if (e != QProcess::FailedToStart) return;
                const QString why = process->errorString();
                process->deleteLater();
                SyncEnded(false,
                          QStringLiteral("\"%1\" could not be started: %2").arg(program, why));
            });
    process->start(program, arguments);
}

void CSyncService::SyncEnded(bool ok, const QString& failure) {
    m_process = nullptr;
    if (ok)
        Rescan();
    else
        Tell(QStringLiteral("Sync Now did not succeed.\n\n") + failure);
    emit syncFinished(ok);
}
