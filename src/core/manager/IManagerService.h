#pragma once

// Opens the Note Manager window (a plain tray click, the menu's "Note Manager").
class IManagerService {
public:
    virtual ~IManagerService() = default;
    virtual void OpenManager() = 0;
};
