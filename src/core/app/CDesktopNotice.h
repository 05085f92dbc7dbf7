#pragma once

#include <string>

// What the program tells once at start when the desktop holds back part of it: no system tray
// to show the icon in, or a Wayland compositor that places and stacks the windows itself.
class CDesktopNotice {
public:
    // Empty when there is nothing to tell.
    static std::string Text(bool noTray, bool compositorPlacesWindows);
    static constexpr const char* kCaption = "Jotterly";
};
