#include "core/app/CTrayClicks.h"

#include "core/app/CTrayCore.h"
#include "core/app/Globals.h"
#include "core/app/TrayIds.h"
#include "core/platform/Clock.h"
#include "core/platform/ITimerHost.h"

using namespace TrayId;

CTrayClicks::CTrayClicks(CTrayCore& core, std::function<void(int)> postCommand,
                         std::function<void()> openMenu)
    : m_core(core), m_postCommand(std::move(postCommand)), m_openMenu(std::move(openMenu)) {}

int CTrayClicks::KeysOf(bool shift, bool ctrl) {
    return (shift ? KeyShift : 0) | (ctrl ? KeyControl : 0);
}

void CTrayClicks::OnActivated(Activation activation, bool shift, bool ctrl) {
    const int keys = KeysOf(shift, ctrl);
    const int64_t now = Clock::MonotonicMs();
    switch (activation) {
    case Press:
        if (m_havePress && now - m_lastPressMs < m_doubleClickMs) {
            // The second press of a double click. The button-up that follows a double click
            // is sent as well, as it clears the double-click flag.
            m_havePress = false;
            m_haveDouble = true;
            m_doubleMs = now;
            OnTrayMessage(kIconId, LButtonDblClk, keys);
            OnTrayMessage(kIconId, LButtonUp, keys);
        } else {
            m_havePress = true;
            m_lastPressMs = now;
            OnTrayMessage(kIconId, LButtonUp, keys);
        }
        break;
    case DoubleClick:
        if (m_haveDouble && now - m_doubleMs < m_doubleClickMs) {
            m_haveDouble = false; // this tray reports both; the press already counted
            break;
        }
        m_havePress = false;
        m_haveDouble = false;
        OnTrayMessage(kIconId, LButtonDblClk, keys);
        OnTrayMessage(kIconId, LButtonUp, keys);
        break;
    case Context:
        OnTrayMessage(kIconId, RButtonUp, keys);
        break;
    }
}

void CTrayClicks::OnTrayMessage(int iconId, int mouse, int keys) {
    if (iconId != kIconId) return;
    switch (mouse) {
    case LButtonUp:
        if (!m_pending && !g_lastWasDoubleClick) {
            m_core.SetPendingClickKeys((keys & KeyShift) ? KeyShift
                                                         : ((keys & KeyControl) ? KeyControl : 0));
            m_pending = true;
            if (ITimerHost* timers = m_core.Platform().timers)
                timers->SetTimer(CTrayCore::TimerClick, m_doubleClickMs);
        }
        g_lastWasDoubleClick = 0;
        break;
    case LButtonDblClk:
        g_lastWasDoubleClick = 1;
        if (ITimerHost* timers = m_core.Platform().timers) timers->KillTimer(CTrayCore::TimerClick);
        m_pending = false;
        m_core.SetPendingClickKeys(0);
        OnLButtonUp(KeyShift);
        break;
    case RButtonUp:
        OnRButtonUp();
        break;
    default:
        break;
    }
}

void CTrayClicks::OnClickTimer() {
    const int keys = m_core.PendingClickKeys();
    m_core.SetPendingClickKeys(0);
    m_pending = false;
    if (ITimerHost* timers = m_core.Platform().timers) timers->KillTimer(CTrayCore::TimerClick);
    OnLButtonUp(keys);
}

void CTrayClicks::OnLButtonUp(int keys) {
    if (keys & KeyShift) {
        if (m_core.State() == CTrayCore::StateIdle) m_core.NewNote();
    } else if (keys & KeyControl) {
        if (m_postCommand) m_postCommand(CmdShowNotes);
    } else if (m_core.State() != CTrayCore::StateManagerOpen) {
        m_core.OpenManager();
    }
}

void CTrayClicks::OnRButtonUp() {
    if (m_core.State() == CTrayCore::StateIdle && m_openMenu) m_openMenu();
}
