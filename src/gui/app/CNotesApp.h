#pragma once

#include <QStringList>
#include <memory>

class CTrayWnd;

// The application object: creates the hidden main window, which does everything else.
class CNotesApp {
public:
    CNotesApp();
    ~CNotesApp();
    // Returns false when the program should end at once (another copy runs).
    bool InitInstance(const QStringList& arguments);
    CTrayWnd* MainWindow() const { return m_tray.get(); }

    // Before the application object exists: prefer X11 on Wayland, since notes are placed at
    // screen positions and kept on top.
    static void PreparePlatform();

private:
    std::unique_ptr<CTrayWnd> m_tray;
};
