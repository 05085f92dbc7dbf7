#include "core/app/CTrayCore.h"

#include "core/app/CCalendarWords.h"
#include "core/app/CCheckCountdown.h"
#include "core/app/CManagerSession.h"
#include "core/app/COptionsSession.h"
#include "core/app/Globals.h"
#include "core/app/TrayIds.h"
#include "core/manager/IManagerService.h"
#include "core/net/CHostNetworkStatus.h"
#include "core/net/IClockSyncService.h"
#include "core/net/IWeatherService.h"
#include "core/platform/Clock.h"
#include "core/platform/IDialogs.h"
#include "core/platform/INoteWindow.h"
#include "core/platform/ITimerHost.h"
#include "core/platform/ITrayIcon.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"
#include "core/sync/ISyncService.h"

#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

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
        bool newer = false;
        const bool ok = CAtomicFile::ReadAll(path, bytes, &reason) &&
                        CDataFile::Read(m_data, bytes.data(), bytes.size(), &reason, &newer);
        DeriveCountdowns();
        // Before the box: a signal may save while it is open.
        m_safety.SetUnreadable(!ok || newer, newer);
        if (ok) m_identity.AfterLoad(path, bytes, Store().notes(), std::time(nullptr));
        if (ok && !newer)
            m_outside.Remember(path, bytes);
        else
            m_outside.Forget(); // the file is moved aside before the first save
        if (m_platform.dialogs) {
            if (!ok)
                m_platform.dialogs->MessageBox("Data Read Error!", "It's too bad", IDialogs::Ok,
                                               IDialogs::Stop);
            else if (newer)
                m_platform.dialogs->MessageBox(
                    "\"" + path +
                        "\" was written by a newer version of Jotterly: what this version "
                        "understands of it was read, and the rest is not shown.\n\nThe file "
                        "itself is kept as it is beside your notes before they are next saved.",
                    "Jotterly", IDialogs::Ok, IDialogs::Information);
        }
        m_alarms.RefreshDueFlags();
    } else {
        m_outside.Remember(path, {});
        NewNote();
        CNote* welcome = Store().notes().back().get();
        welcome->m_title = "Welcome !";
        welcome->m_text = "Jotterly icon is in the system tray, Double-Click it to create a new "
                          "note, Right-Click to see more functions";
        if (welcome->Window()) {
            // Show both texts: reopen the window now that the note holds them.
            welcome->CloseWindow();
            welcome->OpenWindow(-1, -1, false, *m_platform.windows);
            welcome->SetWindowReadOnly(false);
        }
        m_data.m_firstRunDate = Clock::Now();
    }
    m_alarms.ComputeEarliestAlarm();
}

void CTrayCore::ReloadData() {
    CloseNoteWindows(false);
    LoadData();
    if (m_state == StateIdle) OpenPostedWindows();
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
    // A note that rings without having been posted is stored as it was before it rang.
    std::vector<CNote*> ringingUnposted;
    for (const auto& n : Store().notes())
        if (n->Window() && n->Window()->IsRinging() && !n->Window()->PostedBeforeRinging() &&
            n->m_posted) {
            ringingUnposted.push_back(n.get());
            n->m_posted = 0;
        }
    m_saveBuffer = CDataFile::Write(m_data, now, std::move(m_saveBuffer));
    for (CNote* n : ringingUnposted)
        n->m_posted = 1;
    return WriteDataFile(m_saveBuffer, m_state == StateIdle || m_state == StateExiting);
}

bool CTrayCore::WriteDataFile(const std::string& bytes, bool mayReload) {
    const std::string path = DataPath();
    const COleDateTime now = Clock::Now();
    IDialogs* dialogs = m_platform.dialogs;
    // Told once until a save writes again; later tries are quiet.
    auto failed = [&](const std::string& reason, bool told) {
        const bool first = !m_failedSave.Failing();
        const int retryMs = m_failedSave.Failed(reason);
        if (m_platform.timers) m_platform.timers->SetTimer(TimerSaveRetry, retryMs);
        // At Exit the user is asked what to do instead (FinishExit).
        if (first && !told && dialogs && m_state != StateExiting)
            dialogs->MessageBox("Your notes could not be saved to \"" + path + "\":\n" + reason +
                                    "\n\nThe previously saved data is kept, and Jotterly "
                                    "tries again in a few seconds.",
                                "It's too bad", IDialogs::Ok, IDialogs::Stop);
        return false;
    };
    if (!m_safety.Unreadable()) {
        switch (m_outside.BeforeSave(path, bytes, mayReload, now, dialogs)) {
        case COutsideChange::Action::Reload:
            ReloadData();
            m_failedSave.Succeeded();
            return true;
        case COutsideChange::Action::Refuse:
            return failed("It was changed by another program and could not be kept aside.", true);
        case COutsideChange::Action::Save:
            break;
        }
    }
    if (!m_safety.BeforeSave(path, now, dialogs, Side().backupKeep))
        return failed(m_safety.RefusalReason(), true);
    std::string reason;
    if (!CAtomicFile::Write(path, bytes, &reason)) return failed(reason, false);
    m_outside.Remember(path, bytes);
    // Losing the identities only costs their stability: said on stderr, not in a box.
    if (!m_identity.AfterSave(path, bytes, Store().notes(), std::time(nullptr), &reason))
        std::fprintf(stderr, "jotterly: note identities not kept: %s\n", reason.c_str());
    if (m_services.sync) m_services.sync->NotesSaved();
    m_safety.AfterSave(dialogs);
    if (m_failedSave.Failing() && m_platform.timers) m_platform.timers->KillTimer(TimerSaveRetry);
    m_failedSave.Succeeded();
    return true;
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
    CloseNoteWindows(true);
    if (m_state != StateExiting && m_platform.tray) m_platform.tray->Remove();
    return SaveData();
}

bool CTrayCore::FinishExit() {
    for (bool again = true; again;) {
        if (ShutdownSave()) return true;
        if (!m_platform.dialogs) break;
        switch (CFailedSave::AskAtExit(*m_platform.dialogs, DataPath(), SaveError())) {
        case CFailedSave::ExitChoice::Retry:
            break;
        case CFailedSave::ExitChoice::SaveCopy:
            if (CFailedSave::SaveCopy(*m_platform.dialogs, CDataFile::Write(m_data, Clock::Now())))
                return true;
            break;
        case CFailedSave::ExitChoice::Quit:
            return true;
        case CFailedSave::ExitChoice::Stay:
            again = false;
            break;
        }
    }
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
    if (m_services.sync) m_services.sync->Rescan(); // other machines went on meanwhile
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
        // A ringing note may wait for hours: what was typed meanwhile is saved all the same.
        if (m_autoSave.OnTimer(m_state == StateIdle || m_state == StateRinging, m_platform.timers))
            SaveData();
        break;
    case TimerSaveRetry:
        if (m_platform.timers) m_platform.timers->KillTimer(TimerSaveRetry);
        if (m_state == StateStarting || m_state == StateExiting) break;
        SaveData(); // schedules the next try when it fails again
        break;
    default:
        break;
    }
}

void CTrayCore::OnCheckTimer() {
    if (m_alarms.OnTick()) OnClockJumped();
    UpdateCountdowns();

    // Each network check waits while the options sheet is open or the computer is offline,
    // and then tries again soon rather than a whole period later. The online test is asked
    // once a tick, and only when a check is due.
    int asked = -1;
    const auto mayRun = [&] {
        if (asked < 0) {
            const bool wasOffline = m_offline.Offline();
            const bool online = m_offline.MayRun(IsOnline(), Clock::MonotonicMs());
            asked = online && m_state != StateOptionsOpen;
            if (m_offline.Offline() != wasOffline)
                SetTipLine(CTrayTip::Network, m_offline.Offline()
                                                  ? "Offline: automatic checks wait for the network"
                                                  : "");
        }
        return asked == 1;
    };
    const CSettings& s = settings();
    const int period = s.m_checkPeriod;
    if (s.m_mailInterval > 0) {
        m_countdowns.mail -= period;
        if (m_countdowns.mail < 0 && !MailCheckRunning()) {
            if (mayRun())
                StartMailCheck(IMailService::kAllAccounts, 0);
            else
                m_countdowns.mail = kFirstCheckMs;
        }
    }
    if (s.m_weatherEnabled) {
        m_countdowns.weather -= period;
        if (m_countdowns.weather < 0 &&
            !(m_services.weather && m_services.weather->FetchRunning())) {
            if (mayRun())
                CheckWeather();
            else
                m_countdowns.weather = kFirstCheckMs;
        }
    }
    if (s.m_clockSync) {
        m_countdowns.clockSync -= period;
        if (m_countdowns.clockSync < 0) {
            if (mayRun())
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
    // A check that never ends (a hung server) does not keep the program for ever.
    if (MailCheckRunning() && m_exitWaitTicks < kMaxExitWaitTicks) {
        ++m_exitWaitTicks;
        return;
    }
    if (m_platform.timers) m_platform.timers->KillTimer(TimerExitWait);
    DestroyWindow();
}

bool CTrayCore::RunCalendarWord(const std::string& word, const std::string& file,
                                std::string& message) {
    return CCalendarWords::Run(*this, word, file, message);
}

void CTrayCore::EndMailCheck() {
    m_mailTarget = IMailService::kNoCheck;
    if (m_state == StateExiting && !MailCheckRunning()) OnExitWaitTimer();
}

// ---------------------------------------------------------------- notes

void CTrayCore::NewNote() {
    auto note = std::make_unique<CNote>(settings().NewNote());
    note->m_posted = 1;
    CNote& added = Store().AddNote(std::move(note));
    if (m_platform.windows) {
        added.OpenWindow(-1, -1, false, *m_platform.windows);
        added.SetWindowReadOnly(false);
    }
}

void CTrayCore::OpenPostedWindows() {
    for (const auto& n : Store().notes()) {
        if (!n->m_posted || n->Window() || !m_platform.windows) continue;
        n->OpenWindow(-1, -1, false, *m_platform.windows);
        n->SetWindowReadOnly(false);
    }
}

void CTrayCore::ShowNotesReadOnly(bool readOnly) {
    for (const auto& n : Store().notes())
        n->SetWindowReadOnly(readOnly);
}

void CTrayCore::CloseNoteWindows(bool keepPosted) {
    for (const auto& n : Store().notes()) {
        if (!n->Window() || n->Window()->IsRinging()) continue;
        n->m_windowRect = n->Window()->GetWindowRect();
        n->CloseWindow();
        n->m_posted = keepPosted ? 1 : 0;
    }
}

void CTrayCore::BringNotesToTop() {
    for (const auto& n : Store().notes())
        if (n->Window()) n->Window()->BringToTop();
}

void CTrayCore::UpdateCountdowns() {
    for (const auto& n : Store().notes())
        if (n->Window() && n->m_showCountdown) n->Window()->UpdateCountdown();
}

// ---------------------------------------------------------------- features run by services

void CTrayCore::OpenManager() {
    if (m_services.manager) CManagerSession::Run(*this, *m_services.manager);
}

void CTrayCore::OpenOptions() {
    if (m_services.options) COptionsSession::Run(*this, *m_services.options);
}

void CTrayCore::StartMailCheck(int target, int manual) {
    if (MailCheckRunning()) return;
    m_mailTarget = target;
    m_mailManual = manual;
    if (m_services.mail)
        m_services.mail->RunMailCheck(target, manual);
    else
        EndMailCheck(); // nothing checks: no account may stay greyed as "being checked"
}

void CTrayCore::CheckWeather(bool manual) {
    if (m_services.weather) m_services.weather->CheckWeather(manual);
}

std::string CTrayCore::WeatherFailure() const {
    return m_services.weather ? m_services.weather->LastFailure() : std::string();
}

bool CTrayCore::SyncClock() {
    return m_services.clock && m_services.clock->SyncClock();
}

bool CTrayCore::CanSetClock() {
    if (m_services.clock) return m_services.clock->CanSetClock();
    return geteuid() == 0;
}

void CTrayCore::SetTipLine(CTrayTip::Topic topic, const std::string& line) {
    m_tip.SetLine(topic, line);
    TipChanged();
}

bool CTrayCore::IsOnline() {
    if (m_services.network) return m_services.network->IsOnline();
    CHostNetworkStatus host;
    return host.IsOnline();
}
