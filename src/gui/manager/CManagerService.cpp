#include "manager/CManagerService.h"

#include "manager/CNoteManagerDlg.h"
#include "platform/CDialogOwner.h"

#include <QPointer>

void CManagerService::OpenManager() {
    // Owned by the tray and modal to it alone: the posted notes stay usable, as the tray menu.
    QPointer<CNoteManagerDlg> dlg = new CNoteManagerDlg(m_tray, m_dialogs, CDialogOwner::Tray());
    dlg->SetCommandSink(m_command);
    CDialogOwner::Exec(*dlg);
    delete dlg;
}
