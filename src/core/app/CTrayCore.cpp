#include "app/CTrayCore.h"

#include "app/CCheckCountdown.h"
#include "app/CManagerSession.h"
#include "app/COptionsSession.h"
#include "app/Globals.h"
#include "app/TrayIds.h"
#include "manager/IManagerService.h"
#include "net/CHostNetworkStatus.h"
#include "net/IClockSyncService.h"
#include "net/IWeatherService.h"
#include "platform/Clock.h"
#include "platform/IDialogs.h"
#include "platform/INoteWindow.h"
#include "platform/ITimerHost.h"
#include "platform/ITrayIcon.h"
#include "storage/CAtomicFile.h"
#include "storage/CDataFile.h"

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

constexpr int kExitWaitPeriodMs = 5000;
constexpr int kMaxExitWaitTicks = 100;
// After a failed or skipped clock synchronisation it is tried again this much later.
constexpr int kClockRetryMs = 300000;
constexpr int kClockDayMs = 86400000;
// The refresh timer runs every two hours by day and every half hour in the evening.
constexpr int kDayRefreshMs = 7200000;
constexpr int kEveningRefreshMs = 1800000;

} // namespace

CTrayCore::CTrayCore() = default;

CTrayCore::~CTrayCore() {
    if (m_state != StateStarting && m_state != StateExiting) StopTimers();
    DeleteAllData();
}

// ---------------------------------------------------------------- storage

void CTrayCore::LoadData() {
    DeleteAllData();
    Store().AddCategory(CTreeNode::MakeRoot());
    m_safety.SetUnreadable(false);
    std::string path = DataPath();
    if (CAtomicFile::Exists(path)) {
        m_data.m_clockSyncRead = m_data.m_headerRead = m_data.m_mailRead = false;
        m_data.m_weatherRead = false;
        std::string bytes, reason;
        bool ok = CAtomicFile::ReadAll(path, bytes, &reason) &&
                  CDataFile::Read(m_data, bytes.data(), bytes.size(), &reason);
        DeriveCountdowns();
        if (ok) m_identity.AfterLoad(path, bytes, Store().notes(), std::time(nullptr));
        m_safety.SetUnreadable(!ok); // before the box: a signal may save while it is open
        if (!ok && m_platform.dialogs)
            m_platform.dialogs->MessageBox("Data Read Error!", "It's too bad", IDialogs::Ok,
                                           IDialogs::Stop);
        m_alarms.RefreshDueFlags();
    } else {
        NewNote();
        CNote* welcome = Store().notes().back().get();
        welcome->m_title = "Welcome !";
        welcome->m_text = "Jotterly icon is in the system tray, Double-Click it to create a new "
                          "note, Right-Click to see more functions";
        if (welcome->m_window) {
            // Show both texts: reopen the window now that the note holds them.
            welcome->CloseWindow();
            welcome->OpenWindow(-1, -1, false, *m_platform.windows);
            welcome->SetWindowReadOnly(false);
        }
        m_data.m_firstRunDate = Clock::Now();
    }
    m_alarms.ComputeEarliestAlarm();
}

void CTrayCore::DeriveCountdowns() {
    CSettings& s = settings();
    // Setting the clock needs a privilege: a stored "on" holds only where it may be done.
    if (m_data.m_clockSyncRead && g_isNT == 1 && s.m_clockSync == 1)
        s.m_clockSync = CanSetClock() ? 1 : 0;
    CCheckCountdown::Derive(m_data, Clock::Now(), m_countdowns);
}

bool CTrayCore::SaveData() {
    m_autoSave.Cancel(m_platform.timers);
    COleDateTime now = Clock::Now();
    if (!CAtomicFile::Exists(DataPath())) m_data.m_firstRunDate = now;
    return WriteDataFile(CDataFile::Write(m_data, now));
}

bool CTrayCore::WriteDataFile(const std::string& bytes) {
    std::string path = DataPath(), reason;
    if (!m_safety.BeforeSave(path, Clock::Now(), m_platform.dialogs)) return false;
    if (CAtomicFile::Write(path, bytes, &reason)) {
        // Losing the identities only costs their stability: said on stderr, not in a box.
        if (!m_identity.AfterSave(path, bytes, Store().notes(), std::time(nullptr), &reason))
            std::fprintf(stderr, "jotterly: note identities not kept: %s\n", reason.c_str());
        return true;
    }
    if (m_platform.dialogs)
        m_platform.dialogs->MessageBox("Your notes could not be saved to \"" + path + "\":\n" +
                                           reason + "\n\nThe previously saved data is kept.",
                                       "It's too bad", IDialogs::Ok, IDialogs::Stop);
    return false;
}

// ---------------------------------------------------------------- start, run, stop

void CTrayCore::Startup() {
    m_state = StateIdle;
    CAtomicFile::RemoveStaleTemps(DataPath()); // left by saves a crash or a kill cut short
    m_alarms.OpenLogFile(ProgramFolder());
    LoadData();
    OpenPostedWindows();
    m_alarms.CheckAlarms();
    StartTimers();
    g_isNT = 1; // like the NT family, setting the clock needs a privilege here
}

bool CTrayCore::ShutdownSave() {
    PullNoteTexts();
    CloseNoteWindows(true);
    if (m_state != StateExiting && m_platform.tray) m_platform.tray->Remove();
    return SaveData();
}

bool CTrayCore::FinishExit() {
    if (ShutdownSave() || m_safety.Refused()) return true;
    // Everything since the last save would be lost: stay, so the user can free space and retry.
    m_state = StateIdle;
    if (m_platform.tray) m_platform.tray->Show(TrayId::IconNormal, TrayId::kTip);
    OpenPostedWindows();
    StartTimers();
    return false;
}

void CTrayCore::StartTimers() {
    if (!m_platform.timers) return;
    m_platform.timers->SetTimer(TimerCheck, settings().m_checkPeriod);
    ScheduleRefresh(Clock::Now());
}

void CTrayCore::ScheduleRefresh(const COleDateTime& now) {
    settings().m_refreshPeriod = now.GetHour() <= 17 ? kDayRefreshMs : kEveningRefreshMs;
    if (m_platform.timers) m_platform.timers->SetTimer(TimerRefresh, settings().m_refreshPeriod);
}

void CTrayCore::OnClockJumped() {
    // The refresh timer counts monotonic time, which stood still while the wall clock moved:
    // its schedule starts again from now.
    const COleDateTime now = Clock::Now();
    m_refreshSeen = true;
    m_lastRefresh = now;
    ScheduleRefresh(now);
}

void CTrayCore::OnResume() {
    m_alarms.Resync();
    OnClockJumped();
    UpdateCountdowns();
}

void CTrayCore::StopTimers() {
    if (!m_platform.timers) return;
    m_platform.timers->KillTimer(TimerCheck);
    m_platform.timers->KillTimer(TimerRefresh);
}

void CTrayCore::StartExitWait() {
    m_exitWaitTicks = 0;
    if (m_platform.timers) m_platform.timers->SetTimer(TimerExitWait, kExitWaitPeriodMs);
}

void CTrayCore::OnTimer(int id) {
    switch (id) {
    case TimerCheck:
        OnCheckTimer();
        break;
    case TimerRefresh:
        OnRefreshTimer();
        break;
    case TimerExitWait:
        OnExitWaitTimer();
        break;
    case TimerAutoSave:
        if (m_autoSave.OnTimer(m_state == StateIdle, m_platform.timers)) {
            PullNoteTexts();
            SaveData();
        }
        break;
    default:
        break;
    }
}

void CTrayCore::OnCheckTimer() {
    if (m_alarms.OnTick()) OnClockJumped();
    UpdateCountdowns();

    // Each network check waits while the options sheet is open or the computer is offline,
    // and then tries again soon rather than a whole period later.
    const CSettings& s = settings();
    const int period = s.m_checkPeriod;
    if (s.m_mailInterval > 0) {
        m_countdowns.mail -= period;
        if (m_countdowns.mail < 0 && g_mailBusy == 0) {
            if (m_state != StateOptionsOpen && IsOnline())
                StartMailCheck(IMailService::kAllAccounts, 0);
            else
                m_countdowns.mail = kFirstCheckMs;
        }
    }
    if (s.m_weatherEnabled) {
        m_countdowns.weather -= period;
        if (m_countdowns.weather < 0 && g_weatherBusy == 0) {
            if (m_state != StateOptionsOpen && IsOnline())
                CheckWeather();
            else
                m_countdowns.weather = kFirstCheckMs;
        }
    }
    if (s.m_clockSync) {
        m_countdowns.clockSync -= period;
        if (m_countdowns.clockSync < 0) {
            if (m_state != StateOptionsOpen && IsOnline())
                m_countdowns.clockSync = SyncClock() ? kClockDayMs : kClockRetryMs;
            else
                m_countdowns.clockSync = kClockRetryMs;
        }
    }
}

void CTrayCore::OnRefreshTimer() {
    COleDateTime now = Clock::Now();
    if (!m_refreshSeen) {
        m_refreshSeen = true;
        m_lastRefresh = now;
    }
    if (m_state == StateRinging) return;
    if (now.GetDay() == m_lastRefresh.GetDay() &&
        (now - m_lastRefresh) <= COleDateTimeSpan(0, 1, 0, 0))
        return;
    m_lastRefresh = now;
    m_alarms.RefreshDueFlags();
    ScheduleRefresh(now);
}

void CTrayCore::OnExitWaitTimer() {
    if (g_mailBusy && m_exitWaitTicks < kMaxExitWaitTicks) {
        ++m_exitWaitTicks;
        return;
    }
    if (m_platform.timers) m_platform.timers->KillTimer(TimerExitWait);
    DestroyWindow();
}

// ---------------------------------------------------------------- notes

void CTrayCore::NewNote() {
    const CSettings& s = settings();
    auto note = std::make_unique<CNote>();
    int scheme =
        (s.m_defaultScheme >= 0 && s.m_defaultScheme < CSettings::kSchemes) ? s.m_defaultScheme : 0;
    note->m_font = s.m_schemeFont[scheme];
    note->m_backColor = s.m_schemeBack[scheme];
    note->m_textColor = s.m_schemeText[scheme];
    note->m_borderStyle = s.m_schemeBorder[scheme];
    note->m_showCountdown = s.m_showCountdownDefault;
    note->m_posted = 1;
    CNote& added = Store().AddNote(std::move(note));
    if (m_platform.windows) {
        added.OpenWindow(-1, -1, false, *m_platform.windows);
        added.SetWindowReadOnly(false);
    }
}

void CTrayCore::OpenPostedWindows() {
    for (const auto& n : Store().notes()) {
        if (!n->m_posted || n->m_window || !m_platform.windows) continue;
        n->OpenWindow(-1, -1, false, *m_platform.windows);
        n->SetWindowReadOnly(false);
    }
}

void CTrayCore::PullNoteTexts() {
    for (const auto& n : Store().notes())
        n->PullTexts();
}

void CTrayCore::ShowNotesReadOnly(bool readOnly) {
    for (const auto& n : Store().notes())
        n->SetWindowReadOnly(readOnly);
}

void CTrayCore::CloseNoteWindows(bool keepPosted) {
    for (const auto& n : Store().notes()) {
        if (!n->m_window || n->m_window->IsRinging()) continue;
        n->m_windowRect = n->m_window->GetWindowRect();
        n->CloseWindow();
        n->m_posted = keepPosted ? 1 : 0;
    }
}

void CTrayCore::BringNotesToTop() {
    for (const auto& n : Store().notes())
        if (n->m_window) n->m_window->BringToTop();
}

void CTrayCore::UpdateCountdowns() {
    for (const auto& n : Store().notes())
        if (n->m_window && n->m_showCountdown) n->m_window->UpdateCountdown();
}

// ---------------------------------------------------------------- features run by services

void CTrayCore::OpenManager() {
    if (m_services.manager) CManagerSession::Run(*this, *m_services.manager);
}

void CTrayCore::OpenOptions() {
    if (m_services.options) COptionsSession::Run(*this, *m_services.options);
}

void CTrayCore::StartMailCheck(int target, int manual) {
    if (g_mailBusy) return;
    m_mailTarget = target;
    m_mailManual = manual;
    if (m_services.mail)
        m_services.mail->RunMailCheck(target, manual);
    else
        EndMailCheck(); // nothing checks: no account may stay greyed as "being checked"
}

void CTrayCore::CheckWeather() {
    if (m_services.weather) m_services.weather->CheckWeather();
}

bool CTrayCore::SyncClock() {
    return m_services.clock && m_services.clock->SyncClock();
}

bool CTrayCore::CanSetClock() {
    if (m_services.clock) return m_services.clock->CanSetClock();
    return geteuid() == 0;
}

bool CTrayCore::IsOnline() {
    if (m_services.network) return m_services.network->IsOnline();
    CHostNetworkStatus host;
    return host.IsOnline();
}
