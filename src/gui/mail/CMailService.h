#pragma once

#include "core/mail/CMailCheck.h"
#include "core/net/CountPop3Messages.h"
#include "core/net/IMailService.h"
#include "gui/mail/CMailListDlg.h"

#include <QObject>
#include <QPointer>
#include <atomic>
#include <thread>
#include <vector>

class IMailHost;

// Runs the mail check: the POP3 exchanges on a worker thread, everything else (the accounts,
// the tray icon, the sound, the new-mail window, the save) on the GUI thread once the worker
// hands back what it found. The user interface never waits for the network.
class CMailService : public QObject, public IMailService {
    Q_OBJECT
public:
    explicit CMailService(IMailHost& hub) : m_hub(hub) {}
    ~CMailService() override;

    void RunMailCheck(int target, int manual) override;
    void StopMailCheck() override;
    bool MailCheckRunning() const override { return m_running; }

    // Time limits and trusted certificates of the exchanges (tests narrow them).
    void SetOptions(const Pop3CheckOptions& options) { m_options = options; }
    // The open new-mail window, or null.
    CMailListDlg* ListWindow() const { return m_list; }

signals:
    // A check is over and its outcome shown (total: messages found).
    void finished(int total);

private:
    void Finish(std::vector<CMailCheck::Account> plan, int target, bool manual);
    void ShowNewMail(const CMailCheck::Outcome& outcome);
    void ShowTrayIcon(int id);
    // Asks whether to trust the refused certificate; on yes keeps its fingerprint beside the
    // data file and returns true.
    bool TrustCertificate(const CMailCheck::TrustQuestion& question);

    IMailHost& m_hub;
    Pop3CheckOptions m_options;
    std::atomic<bool> m_cancel{false};
    std::thread m_worker;
    QPointer<CMailListDlg> m_list;
    bool m_running = false;    // a check was started and has not handed back yet
    bool m_waveOfList = false; // the open window's sound is the user's wave file
};
