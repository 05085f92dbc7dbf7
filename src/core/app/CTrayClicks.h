#pragma once

#include <cstdint>
#include <functional>

class CTrayCore;

// What the clicks on the tray icon mean: a double click or Shift+click makes a new note,
// Ctrl+click raises the posted notes, a right click opens the menu, and a plain click opens
// the Note Manager once the double-click time has passed without a second click.
class CTrayClicks {
public:
    // How the desktop reports the icon's activation. Some trays report a double click, others
    // only two single presses, and some both.
    enum Activation { Press, DoubleClick, Context };

    CTrayClicks(CTrayCore& core, std::function<void(int command)> postCommand,
                std::function<void()> openMenu);

    void SetDoubleClickTime(int ms) { m_doubleClickMs = ms; }
    int DoubleClickTime() const { return m_doubleClickMs; }

    // From the desktop: turns presses into the mouse messages of the tray callback.
    void OnActivated(Activation activation, bool shift, bool ctrl);
    // The tray callback: iconId must be the icon's own (TrayId::kIconId), mouse is the mouse
    // message.
    void OnTrayMessage(int iconId, int mouse, int keys);
    // The click timer (TimerClick): the double-click time is over; delivers the waiting click.
    void OnClickTimer();
    // The delivered click, with the remembered keys as flags.
    void OnLButtonUp(int keys);
    // The right button's message to the window itself: opens the menu when idle.
    void OnRButtonUp();

    bool IsClickPending() const { return m_pending; }

private:
    static int KeysOf(bool shift, bool ctrl);

    CTrayCore& m_core;
    std::function<void(int)> m_postCommand;
    std::function<void()> m_openMenu;
    int m_doubleClickMs = 500;
    bool m_pending = false;
    // The last press that may still become the first half of a double click.
    bool m_havePress = false;
    int64_t m_lastPressMs = 0;
    // When a second press was taken as a double click, so that the tray's own double-click
    // report for the same clicks is not counted again.
    bool m_haveDouble = false;
    int64_t m_doubleMs = 0;
};
