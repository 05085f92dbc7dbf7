#pragma once

class CTrayCore;
class ITrayActions;

// The commands of the hidden window: what each tray menu item (and Ctrl+click) does.
class CTrayCommands {
public:
    CTrayCommands(CTrayCore& core, ITrayActions& actions);

    // Runs the command; false when the id is none of the tray's.
    bool OnCommand(int id);
    // Removes the icon and stops the timers; the window goes away at once, or after the
    // running mail check (TimerExitWait).
    void Exit();

private:
    CTrayCore& m_core;
    ITrayActions& m_actions;
};
