#include "manager/CManagerService.h"

#include "manager/CNoteManagerDlg.h"

void CManagerService::OpenManager() {
    CNoteManagerDlg dlg(m_tray, m_dialogs);
    dlg.SetCommandSink(m_command);
    dlg.exec();
}
