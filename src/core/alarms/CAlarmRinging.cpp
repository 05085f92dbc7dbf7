#include "core/alarms/CAlarmRinging.h"

#include "core/alarms/CAlarmCheck.h"
#include "core/alarms/IAlarmHost.h"
#include "core/alarms/IRingingWindow.h"
#include "core/alarms/RingingCount.h"
#include "core/model/CNoteStore.h"
#include "core/model/CSettings.h"
#include "core/model/TrayState.h"
#include "core/platform/IDialogs.h"
#include "core/platform/ISound.h"
#include "core/platform/ITimerHost.h"
#include "core/platform/IntegerField.h"
#include "core/platform/PlatformServices.h"

namespace {
const char* const kCaption = "Jotterly";
} // namespace

CAlarmRinging::CAlarmRinging(IAlarmHost& host, CNote& note, IRingingWindow& window,
                             ITimerHost& timers)
    : m_host(host), m_note(&note), m_window(window), m_timers(timers) {}

void CAlarmRinging::StartAlarm(int, bool wasPosted) {
    if (m_ringing || !m_note) return;
    m_wasPosted = wasPosted;
    m_ringing = true;
    m_ringSeconds = 0;
    m_flashed = false;
    const CSettings& settings = m_host.settings();
    m_stopEnabled = settings.m_stopAfter > 0;

    // Several notes may ring at once; they share one wave loop, started by the first. The
    // loop is theirs while they ring: it replaces, or else ends, the options' preview.
    ISound* sound = m_host.Platform().sound;
    ++g_ringingCount;
    if (g_ringingCount == 1 && sound) {
        if (settings.m_alarmSound == CSettings::SoundWave && sound->HasAudioDevice())
            sound->PlayWaveLoop(settings.m_wavePath);
        else
            sound->StopLoop();
    }

    m_window.EnterRingingMode();
    m_timers.SetTimer(TimerBeep, kBeepPeriodMs);
    m_timers.SetTimer(TimerFlash, kFlashPeriodMs);
    m_notice.Show(m_host.Platform().notices, *m_note);
}

void CAlarmRinging::OnNoticeAction(IDesktopNotices::Action action) {
    if (!m_ringing || !m_note) return;
    if (action == IDesktopNotices::Action::Acknowledge) {
        m_window.PressOk();
        return;
    }
    // The row's own way of snoozing, with the notice's fixed delay.
    OnOK("0", std::to_string(kNoticeDelayMinutes), true);
}

void CAlarmRinging::WithdrawNotice() {
    m_notice.Withdraw(m_host.Platform().notices);
}

void CAlarmRinging::StopWave() {
    ISound* sound = m_host.Platform().sound;
    if (m_host.settings().m_alarmSound == CSettings::SoundWave && sound) sound->StopLoop();
}

void CAlarmRinging::OnTimer(int id) {
    // A tick queued before the timers were killed may still arrive.
    if (!m_ringing) return;
    if (id != TimerBeep) {
        // Flipped first, so the window already reads the picture it is asked to draw.
        const int state = m_flashState;
        m_flashState = state ? 0 : 1;
        m_flashed = true;
        m_window.DrawPinBox(state);
        return;
    }
    ISound* sound = m_host.Platform().sound;
    if (m_host.settings().m_alarmSound == CSettings::SoundSpeaker && sound) sound->Beep();
    if (m_stopEnabled) {
        ++m_ringSeconds;
        if (m_ringSeconds > m_host.settings().m_stopAfter) {
            StopWave();
            m_timers.KillTimer(TimerBeep);
        }
    }
}

void CAlarmRinging::Abandon() {
    if (!m_ringing) return;
    m_timers.KillTimer(TimerBeep);
    m_timers.KillTimer(TimerFlash);
    WithdrawNotice();
    ReleaseRing();
}

bool CAlarmRinging::ReleaseRing() {
    if (g_ringingCount == 1) StopWave();
    if (g_ringingCount > 0) --g_ringingCount;
    const bool last = g_ringingCount == 0;
    // Only the ringing state ends here; an exit or a file transfer keeps its own.
    if (last && m_host.State() == StateRinging) m_host.SetState(StateIdle);
    m_ringing = false;
    return last;
}

bool CAlarmRinging::Validate(const std::string& hoursText, const std::string& minutesText) {
    std::string error;
    int hours = 0, minutes = 0;
    IRingingWindow::Field bad = IRingingWindow::HoursField;
    bool ok = ParseIntegerField(hoursText, 0, kMaxHours, hours, &error);
    if (ok) {
        bad = IRingingWindow::MinutesField;
        ok = ParseIntegerField(minutesText, 0, kMaxMinutes, minutes, &error);
    }
    if (!ok) {
        if (IDialogs* dialogs = m_host.Platform().dialogs)
            dialogs->MessageBox(error, kCaption, IDialogs::Ok, IDialogs::Warning);
        m_window.FocusField(bad);
        return false;
    }
    m_remindHours = hours;
    m_remindMinutes = minutes;
    return true;
}

CAlarmRinging::OkResult CAlarmRinging::OnOK(const std::string& hoursText,
                                            const std::string& minutesText, bool remindChecked) {
    if (!m_ringing || !m_note) return OkResult::NotRinging;
    if (!Validate(hoursText, minutesText)) return OkResult::Refused;

    m_timers.KillTimer(TimerBeep);
    m_timers.KillTimer(TimerFlash);
    WithdrawNotice();
    m_host.Alarms().WriteLogLine(*m_note);

    CNote* note = m_note;
    // An acknowledged one-time reminder without a new delay is done with: it leaves the
    // store once its window has let go of it.
    CNote* done = nullptr;
    if (remindChecked || note->m_type != CNote::OneTime) {
        if (remindChecked)
            note->RemindLater(m_remindHours, m_remindMinutes);
        else
            note->Recompute();
        if (note->m_dueSoon) m_host.Alarms().OfferAlarmTime(note->m_alarmTime);
        if (!m_wasPosted) note->m_posted = 0;
    } else {
        done = note;
        m_note = nullptr;
        note = nullptr;
        m_wasPosted = false;
    }

    // Escape while ringing un-posts the note but leaves it ringing; it goes once acknowledged.
    bool restore = m_wasPosted && note && note->m_posted;

    const bool lastRinging = ReleaseRing();

    if (restore) {
        if (lastRinging) m_host.SaveData();
        m_window.LeaveRingingMode();
        return OkResult::Restored;
    }
    // Closing the window may destroy this object: only locals are used after it.
    IAlarmHost& host = m_host;
    m_window.CloseAfterRinging();
    if (done) host.Store().RemoveNote(*done);
    if (lastRinging) host.SaveData();
    return OkResult::Closed;
}
