#pragma once

#include <QRect>

class QWidget;

// What the self-made top-level windows need of the desktop: the screen they are placed on
// and their layer.
class TopLevelWindows {
public:
    // The primary screen, and the whole desktop over all screens.
    static QRect ScreenRect();
    static QRect DesktopRect();
    // The primary screen without the panels and docks.
    static QRect WorkArea();
    // Puts the window above all others or back among them, also while it is shown.
    static void SetStaysOnTop(QWidget& window, bool onTop);
};
