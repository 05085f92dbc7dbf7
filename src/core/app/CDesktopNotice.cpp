#include "core/app/CDesktopNotice.h"

std::string CDesktopNotice::Text(bool noTray, bool compositorPlacesWindows) {
    std::string text;
    if (noTray)
        text += "This desktop has no system tray, so Jotterly cannot show its icon. It keeps "
                "running: use the \"New Note\" and \"Note Manager\" actions of its launcher, "
                "or these commands:\n\n"
                "jotterly new-note\n"
                "jotterly manager\n"
                "jotterly show-notes\n"
                "jotterly close-notes\n"
                "jotterly menu  (the tray menu, with Options and Help)\n"
                "jotterly quit";
    if (compositorPlacesWindows) {
        if (!text.empty()) text += "\n\n";
        text += "On this Wayland desktop the compositor decides where windows go: notes open "
                "where it places them rather than where they were left, \"Show Notes\" may not "
                "bring them to the front, and the tray menu opens where the desktop puts it.";
    }
    return text;
}
