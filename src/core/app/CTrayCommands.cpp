#include "core/app/CTrayCommands.h"

#include "core/app/CTrayCore.h"
#include "core/app/ITrayActions.h"
#include "core/app/TrayIds.h"
#include "core/platform/ITrayIcon.h"
#include "core/sync/ISyncService.h"

using namespace TrayId;

CTrayCommands::CTrayCommands(CTrayCore& core, ITrayActions& actions)
    : m_core(core), m_actions(actions) {}

bool CTrayCommands::OnCommand(int id) {
    if (id >= CmdFirstAccount && id <= CmdLastAccount) {
        int index = id - CmdFirstAccount;
        if (index < static_cast<int>(m_core.Store().accounts().size()))
            m_core.StartMailCheck(index, 1);
        return true;
    }
    switch (id) {
    case CmdNewNote:
        m_core.NewNote();
        return true;
    case CmdNoteManager:
        m_core.OpenManager();
        return true;
    case CmdShowNotes:
        m_core.BringNotesToTop();
        return true;
    case CmdCloseNotes:
        m_core.CloseNoteWindows(false);
        return true;
    case CmdOptions:
        m_core.OpenOptions();
        return true;
    case CmdExport:
    case CmdImport:
        // Both end in the idle state; started from a menu that opened before a note began to
        // ring, they would end the ringing state under the ringing window.
        if (m_core.State() != CTrayCore::StateIdle) return true;
        if (id == CmdExport)
            m_core.ExportData();
        else
            m_core.ImportData();
        return true;
    case CmdContents:
        m_actions.ShowHelpContents();
        return true;
    case CmdHomepage:
        m_actions.OpenHomePage();
        return true;
    case CmdAbout:
        m_actions.ShowAbout();
        return true;
    case CmdAllAccounts:
        m_core.StartMailCheck(IMailService::kAllAccounts, 1);
        return true;
    case CmdWeatherPlace:
        m_core.CheckWeather(true);
        return true;
    case CmdSyncNow:
        if (ISyncService* sync = m_core.SyncService()) sync->SyncNow();
        return true;
    case CmdExit:
        Exit();
        return true;
    default:
        return false;
    }
}

void CTrayCommands::Exit() {
    m_core.SetState(CTrayCore::StateExiting);
    if (ITrayIcon* tray = m_core.Platform().tray) tray->Remove();
    m_core.StopTimers();
    if (m_core.MailCheckRunning() && m_core.Platform().timers) {
        m_core.StopMailCheck();
        m_core.StartExitWait();
    } else {
        m_core.DestroyWindow();
    }
}
