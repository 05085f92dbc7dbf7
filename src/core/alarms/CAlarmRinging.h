#pragma once

#include "core/alarms/CRingNotice.h"

#include <string>

class CNote;
class IAlarmHost;
class IRingingWindow;
class ITimerHost;

// The ringing of one note window: sound, stop-after, the flashing pin box and the
// acknowledgement with its optional remind-later delay. One per note window.
class CAlarmRinging {
public:
    enum TimerId { TimerBeep = 0, TimerFlash = 1 };
    static constexpr int kBeepPeriodMs = 1000;
    static constexpr int kFlashPeriodMs = 500;

    enum class OkResult {
        NotRinging, // nothing to acknowledge
        Refused,    // a value was refused; still ringing
        Restored,   // back in its place on the desktop
        Closed,     // the window was destroyed (do not touch it any more)
    };

    // timers: the window's own timers 0 and 1, delivered back to OnTimer.
    CAlarmRinging(IAlarmHost& host, CNote& note, IRingingWindow& window, ITimerHost& timers);

    // index is the note's position in the note array; kept for the caller's sake only.
    void StartAlarm(int index, bool wasPosted);
    void OnTimer(int id);
    // The window's edits and check box as the user left them.
    OkResult OnOK(const std::string& hoursText, const std::string& minutesText, bool remindChecked);

    // The window goes away while ringing (the program ends, the data is replaced): the count
    // of ringing notes and the sound are given up as OK would, and nothing else is changed.
    void Abandon();
    // A button of the note's desktop notice: OK as the window's own OK, or 15 minutes later.
    void OnNoticeAction(IDesktopNotices::Action action);
    bool NoticeShown() const { return m_notice.IsShown(); }

    bool IsRinging() const { return m_ringing; }
    bool WasPosted() const { return m_wasPosted; }
    int FlashState() const { return m_flashState; }
    // The pin-box picture the last flash drew: -1 before the first flash of this ringing.
    int PinShown() const { return m_ringing && m_flashed ? 1 - m_flashState : -1; }
    // The delay the last accepted acknowledgement gave, or the start values 0 h 15 min.
    int RemindHours() const { return m_remindHours; }
    int RemindMinutes() const { return m_remindMinutes; }
    // Null once an acknowledged one-time note has been removed.
    CNote* Note() const { return m_note; }

    static constexpr int kMaxHours = 24;
    static constexpr int kMaxMinutes = 59;
    static constexpr int kNoticeDelayMinutes = 15;

private:
    bool Validate(const std::string& hoursText, const std::string& minutesText);
    void StopWave();
    // Ends this ring's share: the last ring stops the wave and the ringing state. True for it.
    bool ReleaseRing();
    void WithdrawNotice();

    IAlarmHost& m_host;
    CNote* m_note;
    IRingingWindow& m_window;
    ITimerHost& m_timers;

    bool m_ringing = false;
    bool m_wasPosted = false;
    int m_ringSeconds = 0;
    bool m_stopEnabled = false;
    int m_flashState = 0;
    bool m_flashed = false;
    int m_remindHours = 0;
    int m_remindMinutes = 15;
    CRingNotice m_notice{[this](IDesktopNotices::Action a) { OnNoticeAction(a); }};
};
