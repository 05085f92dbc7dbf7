#pragma once

#include "core/manager/IManagerService.h"

#include <functional>

class IManagerHost;
class IDialogs;

// Shows the Note Manager window for the hub and returns when it is closed.
class CManagerService : public IManagerService {
public:
    CManagerService(IManagerHost& tray, IDialogs& dialogs) : m_tray(tray), m_dialogs(dialogs) {}
    void OpenManager() override;
    void RaiseManager() override;
    // Receives the commands the manager's Help and Home Page buttons send to the tray window.
    void SetCommandSink(std::function<void(int)> sink) { m_command = std::move(sink); }

private:
    IManagerHost& m_tray;
    IDialogs& m_dialogs;
    std::function<void(int)> m_command;
    class CNoteManagerDlg* m_open = nullptr;
};
