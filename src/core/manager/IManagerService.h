#pragma once

// Opens the Note Manager window (a plain tray click, the menu's "Note Manager").
class IManagerService {
public:
    virtual ~IManagerService() = default;
    virtual void OpenManager() = 0;
    // Brings the open manager to the front (a launcher word for it while it is open).
    virtual void RaiseManager() {}
};
