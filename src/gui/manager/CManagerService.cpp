#include "manager/CManagerService.h"

#include "manager/CNoteManagerDlg.h"

void CManagerService::OpenManager() {
    CNoteManagerDlg dlg(m_tray, m_dialogs);
    dlg.SetCommandSink(m_command);
    m_open = &dlg;
    dlg.exec();
    m_open = nullptr;
}

void CManagerService::RaiseManager() {
    if (!m_open) return;
    m_open->raise();
    m_open->activateWindow();
}
