#pragma once

#include <string>

// The icon in the notification area.
class ITrayIcon {
public:
    virtual ~ITrayIcon() = default;
    virtual void Show(int iconId, const std::string& tip) = 0;
    virtual void Remove() = 0;
};
