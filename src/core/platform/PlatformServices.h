#pragma once

class IDesktopNotices;
class IDialogs;
class INoteWindowFactory;
class ISound;
class ITimerHost;
class ITrayIcon;

// The desktop services the core works through; none is owned, any may be missing (tests).
struct PlatformServices {
    IDialogs* dialogs = nullptr;
    INoteWindowFactory* windows = nullptr;
    ISound* sound = nullptr;
    ITimerHost* timers = nullptr;
    ITrayIcon* tray = nullptr;
    IDesktopNotices* notices = nullptr;
};
