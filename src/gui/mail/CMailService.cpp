#include "gui/mail/CMailService.h"

#include "core/app/TrayIds.h"
#include "core/mail/IMailHost.h"
#include "core/model/CNoteStore.h"
#include "core/model/TrayState.h"
#include "core/platform/IDialogs.h"
#include "core/platform/ISound.h"
#include "core/platform/ITrayIcon.h"
#include "core/platform/PlatformServices.h"
#include "core/platform/ProgramFolder.h"
#include "core/storage/CSideSettings.h"
#include "gui/mail/CMailListDlg.h"

#include <QMetaObject>

CMailService::~CMailService() {
    // The exchanges stop at their next look at the socket; the result is dropped with us.
    m_cancel = true;
    if (m_worker.joinable()) {
        m_worker.join();
    }
    delete m_list;
}

void CMailService::ShowTrayIcon(int id) {
    // After Exit the icon is gone and must stay gone.
    if (m_hub.State() == StateExiting) return;
    if (ITrayIcon* tray = m_hub.Platform().tray) tray->Show(id, TrayId::kTip);
}

void CMailService::RunMailCheck(int target, int manual) {
    if (m_running) return;
    std::vector<CMailCheck::Account> plan = CMailCheck::Plan(m_hub.Store().accounts(), target);
    if (plan.empty()) {
        m_hub.EndMailCheck();
        return;
    }
    // The certificates the user chose to trust, each for its own account's server.
    const CSideSettings& side = m_hub.Side();
    for (CMailCheck::Account& a : plan)
        if (const std::string key = CMailCheck::TrustKey(a.copy); !key.empty())
            a.trustedFingerprint = side.TrustedCertificate(key);
    if (m_worker.joinable()) m_worker.join(); // the last one has handed back its result
    m_cancel = false;
    m_running = true;
    ShowTrayIcon(TrayId::IconCheckingMail);
    m_worker =
        std::thread([this, plan = std::move(plan), options = m_options, target, manual]() mutable {
            options.cancel = &m_cancel;
            CMailCheck::Run(plan, options);
            QMetaObject::invokeMethod(
                this,
                [this, plan = std::move(plan), target, manual]() mutable {
                    Finish(std::move(plan), target, manual != 0);
                },
                Qt::QueuedConnection);
        });
}

void CMailService::StopMailCheck() {
    m_cancel = true;
}

void CMailService::Finish(std::vector<CMailCheck::Account> plan, int target, bool manual) {
    if (m_worker.joinable()) m_worker.join();
    m_running = false;
    const bool exiting = m_hub.State() == StateExiting;
    const CMailCheck::Outcome outcome =
        CMailCheck::Apply(m_hub.Store().accounts(), plan, target, manual, exiting, m_hub.settings(),
                          m_hub.MailCountdown());
    // The exit saves by itself; otherwise the time of this check is kept.
    if (!exiting) m_hub.SaveData();
    m_hub.EndMailCheck(); // when exiting, the exit goes on from here
    if (exiting) return;

    // A refused certificate the user now trusts: the account is checked again at once, and
    // that check tells the outcome.
    if (outcome.trust && TrustCertificate(*outcome.trust)) {
        emit finished(outcome.total);
        RunMailCheck(target, 1);
        return;
    }

    switch (outcome.show) {
    case CMailCheck::Outcome::NewMail:
        ShowNewMail(outcome);
        break;
    case CMailCheck::Outcome::NoNewMail:
    case CMailCheck::Outcome::NotChecked:
        ShowTrayIcon(m_list ? TrayId::IconNewMail : TrayId::IconNormal);
        if (IDialogs* dialogs = m_hub.Platform().dialogs)
            dialogs->MessageBox(
                CMailCheck::BoxText(outcome), CMailCheck::BoxCaption(outcome), IDialogs::Ok,
                outcome.show == CMailCheck::Outcome::NotChecked ? IDialogs::Warning
                                                                : IDialogs::Information);
        break;
    case CMailCheck::Outcome::Nothing:
        ShowTrayIcon(m_list ? TrayId::IconNewMail : TrayId::IconNormal);
        break;
    }
    emit finished(outcome.total);
}

void CMailService::ShowNewMail(const CMailCheck::Outcome& outcome) {
    if (ISound* sound = m_hub.Platform().sound) {
        if (outcome.playWave)
            sound->PlayWaveOnce(outcome.wavePath);
        else
            sound->Beep();
    }
    m_waveOfList = outcome.playWave;
    ShowTrayIcon(TrayId::IconNewMail);
    if (!m_list) {
        m_list = new CMailListDlg;
        connect(m_list, &QDialog::finished, this, [this] {
            if (m_waveOfList)
                if (ISound* sound = m_hub.Platform().sound) sound->StopOnce();
            if (!m_running) ShowTrayIcon(TrayId::IconNormal);
        });
    }
    // A window still open from an earlier check shows the newest findings.
    m_list->SetContent(outcome.headline, CMailCheck::Rows(m_hub.Store().accounts()),
                       CMailCheck::ReportLines(outcome));
    m_list->show();
    m_list->raise();
    m_list->activateWindow();
}

bool CMailService::TrustCertificate(const CMailCheck::TrustQuestion& question) {
    IDialogs* dialogs = m_hub.Platform().dialogs;
    if (question.key.empty() || !dialogs ||
        dialogs->MessageBox(question.text, "Untrusted certificate", IDialogs::YesNo,
                            IDialogs::Warning) != IDialogs::AnswerYes)
        return false;
    std::string reason;
    if (m_hub.ChangeSide(
            [&](CSideSettings& side) { side.TrustCertificate(question.key, question.fingerprint); },
            &reason))
        return true;
    dialogs->MessageBox("The trusted certificate could not be kept in \"" + ProgramFolder() +
                            CSideConfig::kFileName + "\": " + reason,
                        "Sorry", IDialogs::Ok, IDialogs::Stop);
    return false;
}
