#include "gui/manager/CManagerService.h"

#include "gui/manager/CNoteManagerDlg.h"
#include "gui/platform/CDialogOwner.h"

#include <QPointer>

void CManagerService::OpenManager() {
    // Owned by the tray and modal to it alone: the posted notes stay usable, as the tray menu.
    QPointer<CNoteManagerDlg> dlg = new CNoteManagerDlg(m_tray, m_dialogs, CDialogOwner::Tray());
    dlg->SetCommandSink(m_command);
    m_open = dlg;
    CDialogOwner::Exec(*dlg);
    m_open = nullptr;
    delete dlg;
}

void CManagerService::RaiseManager() {
    if (!m_open) return;
    m_open->raise();
    m_open->activateWindow();
}
