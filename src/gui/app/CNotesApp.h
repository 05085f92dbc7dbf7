#pragma once

#include "core/app/CLaunchArgs.h"

#include <memory>

class CCalendarCommands;
class CDesktopCheck;
class CLaunchService;
class CTrayWnd;

// The application object: creates the hidden main window, which does everything else, and
// carries out the launcher words that reach this copy.
class CNotesApp {
public:
    CNotesApp();
    ~CNotesApp();
    // Returns false when the program should end at once (another copy runs; it was handed the
    // request's word).
    bool InitInstance(const LaunchRequest& request);
    CTrayWnd* MainWindow() const { return m_tray.get(); }
    // After InitInstance returned false: 0 when another copy took over, 1 when it refused.
    int StartStatus() const { return m_startStatus; }

    // Before the application object exists: picks the window system. False, with the reason on
    // stderr, when there is none to show windows on.
    static bool PreparePlatform();

private:
    std::unique_ptr<CTrayWnd> m_tray;
    std::unique_ptr<CLaunchService> m_launch;
    std::unique_ptr<CCalendarCommands> m_calendarWords;
    std::unique_ptr<CDesktopCheck> m_desktopCheck;
    int m_startStatus = 0;
};
