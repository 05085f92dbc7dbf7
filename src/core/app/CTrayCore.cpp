#include "app/CTrayCore.h"

#include "app/Globals.h"
#include "platform/Clock.h"
#include "platform/IDialogs.h"
#include "platform/INoteWindow.h"
#include "platform/ITimerHost.h"
#include "platform/ITrayIcon.h"
#include "storage/CAtomicFile.h"
#include "storage/CDataFile.h"

#include <arpa/inet.h>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <netdb.h>
#include <unistd.h>

namespace {
const char* const kDataFilter = "Data Files (*.dat)|*.dat||";
}

CTrayCore::CTrayCore() {
    SetDefaultSchemeFonts();
}

CTrayCore::~CTrayCore() {
    if (m_logFile) std::fclose(m_logFile);
    m_logFile = nullptr;
    if (m_state != StateStarting && m_state != StateExiting) StopTimers();
    DeleteAllData();
}

void CTrayCore::SetDefaultSchemeFonts() {
    for (LOGFONT& f : m_schemeFont)
        f = DefaultSchemeFont();
}

void CTrayCore::DeleteAllData() {
    for (CNote* n : m_notes) {
        n->CloseWindow();
        delete n;
    }
    for (CTreeNode* c : m_categories)
        delete c;
    for (CMailAccount* a : m_mailAccounts)
        delete a;
    m_notes.clear();
    m_categories.clear();
    m_mailAccounts.clear();
}

std::string CTrayCore::ProgramFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && fs::exists(exe.parent_path() / "Note.Dat", ec))
        return exe.parent_path().string() + "/";
    fs::path base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : "/tmp") / ".local" / "share";
    }
    fs::path folder = base / "jotterly";
    fs::create_directories(folder, ec);
    return folder.string() + "/";
}

// ---------------------------------------------------------------- storage

void CTrayCore::LoadData() {
    DeleteAllData();
    m_categories.push_back(CTreeNode::MakeRoot());
    std::string path = DataPath();
    if (CAtomicFile::Exists(path)) {
        std::string bytes, reason;
        bool ok = CAtomicFile::ReadAll(path, bytes, &reason) &&
                  CDataFile::Read(*this, bytes.data(), bytes.size(), &reason);
        if (!ok && m_dialogs)
            m_dialogs->MessageBox("Data Read Error!", "It's too bad", IDialogs::Ok, IDialogs::Stop);
        RefreshDueFlags();
    } else {
        NewNote();
        CNote* welcome = m_notes.back();
        welcome->m_title = "Welcome !";
        welcome->m_text = "Jotterly icon is in the system tray, Double-Click it to create a new "
                          "note, Right-Click to see more functions";
        if (welcome->m_window) {
            // Show both texts: reopen the window now that the note holds them.
            welcome->CloseWindow();
            welcome->OpenWindow(-1, -1, false, *m_windowFactory);
            welcome->SetWindowReadOnly(false);
        }
        g_firstRunDate = Clock::Now();
    }
    ComputeEarliestAlarm();
}

bool CTrayCore::SaveData() {
    std::string path = DataPath();
    COleDateTime now = Clock::Now();
    if (!CAtomicFile::Exists(path)) g_firstRunDate = now;
    std::string reason;
    if (CAtomicFile::Write(path, CDataFile::Write(*this, now), &reason)) return true;
    if (m_dialogs)
        m_dialogs->MessageBox("Your notes could not be saved to \"" + path + "\":\n" + reason +
                                  "\n\nThe previously saved data is kept.",
                              "It's too bad", IDialogs::Ok, IDialogs::Stop);
    return false;
}

void CTrayCore::ExportData() {
    m_state = StateFileTransfer;
    if (m_dialogs) {
        if (auto target = m_dialogs->SaveFileName("Dat", "Note.Dat", kDataFilter)) {
            std::string bytes, reason;
            if (!CAtomicFile::ReadAll(DataPath(), bytes, &reason) ||
                !CAtomicFile::Write(*target, bytes, &reason))
                m_dialogs->MessageBox("The data could not be exported to \"" + *target + "\":\n" +
                                          reason,
                                      "Sorry", IDialogs::Ok, IDialogs::Stop);
        }
    }
    m_state = StateIdle;
}

void CTrayCore::ImportData() {
    m_state = StateFileTransfer;
    if (m_dialogs && m_dialogs->MessageBox(
                         "Import data will replace all your current data, continue?", "Warning",
                         IDialogs::YesNo, IDialogs::Warning) == IDialogs::AnswerYes) {
        if (auto source = m_dialogs->OpenFileName("Dat", "Note.Dat", kDataFilter)) {
            std::string bytes, reason;
            if (!CAtomicFile::ReadAll(*source, bytes, &reason)) {
                m_dialogs->MessageBox("The file \"" + *source + "\" could not be read:\n" + reason,
                                      "Sorry", IDialogs::Ok, IDialogs::Stop);
            } else {
                CloseNoteWindows(false);
                if (CAtomicFile::Write(DataPath(), bytes, &reason))
                    LoadData();
                else
                    m_dialogs->MessageBox("The data could not be imported:\n" + reason, "Sorry",
                                          IDialogs::Ok, IDialogs::Stop);
            }
        }
    }
    m_state = StateIdle;
}

// ---------------------------------------------------------------- start, run, stop

void CTrayCore::Startup() {
    m_state = StateIdle;
    OpenLogFile();
    LoadData();
    for (CNote* n : m_notes) {
        if (!n->m_posted || !m_windowFactory) continue;
        n->OpenWindow(-1, -1, false, *m_windowFactory);
        n->SetWindowReadOnly(false);
    }
    CheckAlarms();
    StartTimers();
    g_isNT = 1; // like the NT family, setting the clock needs a privilege here
}

void CTrayCore::ShutdownSave() {
    PullNoteTexts();
    CloseNoteWindows(true);
    if (m_state != StateExiting && m_tray) m_tray->Remove();
    SaveData();
}

void CTrayCore::StartTimers() {
    if (!m_timers) return;
    m_timers->SetTimer(TimerCheck, m_checkPeriod);
    m_refreshPeriod = Clock::Now().GetHour() < 18 ? 7200000 : 1800000;
    m_timers->SetTimer(TimerRefresh, m_refreshPeriod);
}

void CTrayCore::StopTimers() {
    if (!m_timers) return;
    m_timers->KillTimer(TimerCheck);
    m_timers->KillTimer(TimerRefresh);
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
    default:
        break;
    }
}

void CTrayCore::OnCheckTimer() {
    if (m_state != StateManagerOpen) {
        int seconds = COleDateTime::WholeSeconds(m_earliestAlarm - Clock::Now());
        if (seconds < m_checkPeriod / 500 && m_state != StateOptionsOpen) CheckAlarms();
    }
    UpdateCountdowns();

    if (m_mailInterval > 0) {
        m_mailCountdown -= m_checkPeriod;
        if (m_mailCountdown < 0 && g_mailBusy == 0) {
            if (m_state == StateOptionsOpen)
                m_mailCountdown = 30000;
            else if (IsOnline())
                StartMailCheck(999, 0);
            else
                m_mailCountdown = 30000;
        }
    }
    if (m_weatherEnabled) {
        m_weatherCountdown -= m_checkPeriod;
        if (m_weatherCountdown < 0 && g_weatherBusy == 0) {
            if (m_state == StateOptionsOpen)
                m_weatherCountdown = 30000;
            else if (IsOnline())
                CheckWeather();
            else
                m_weatherCountdown = 30000;
        }
    }
    if (m_clockSync) {
        m_clockSyncCountdown -= m_checkPeriod;
        if (m_clockSyncCountdown < 0) {
            if (m_state != StateOptionsOpen && IsOnline())
                m_clockSyncCountdown = SyncClock() ? 86400000 : 300000;
            else
                m_clockSyncCountdown = 300000;
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
    RefreshDueFlags();
    m_refreshPeriod = now.GetHour() <= 17 ? 7200000 : 1800000;
    if (m_timers) m_timers->SetTimer(TimerRefresh, m_refreshPeriod);
}

void CTrayCore::OnExitWaitTimer() {
    if (g_mailBusy && m_exitWaitTicks < 100) {
        ++m_exitWaitTicks;
        return;
    }
    if (m_timers) m_timers->KillTimer(TimerExitWait);
    DestroyWindow();
}

// ---------------------------------------------------------------- notes

void CTrayCore::NewNote() {
    auto* note = new CNote;
    int s = (m_defaultScheme >= 0 && m_defaultScheme < 4) ? m_defaultScheme : 0;
    note->m_font = m_schemeFont[s];
    note->m_backColor = m_schemeBack[s];
    note->m_textColor = m_schemeText[s];
    note->m_borderStyle = m_schemeBorder[s];
    note->m_showCountdown = m_showCountdownDefault;
    note->m_posted = 1;
    m_notes.push_back(note);
    if (m_windowFactory) {
        note->OpenWindow(-1, -1, false, *m_windowFactory);
        note->SetWindowReadOnly(false);
    }
}

void CTrayCore::RefreshDueFlags() {
    COleDateTime now = Clock::Now();
    COleDateTime endOfDay = CNote::EndOfDay(now);
    for (CNote* n : m_notes) {
        n->m_dueSoon = n->IsDueSoonAt(now, endOfDay);
        // A note that has just become due soon must bring the alarm check forward too, or it
        // would wait for the next load.
        if (n->m_dueSoon) OfferAlarmTime(n->m_alarmTime);
    }
}

void CTrayCore::ComputeEarliestAlarm() {
    m_earliestAlarm = COleDateTime(2200, 1, 1, 0, 0, 0);
    for (const CNote* n : m_notes)
        if (n->m_dueSoon && n->m_alarmTime.IsValid() && n->m_alarmTime < m_earliestAlarm)
            m_earliestAlarm = n->m_alarmTime;
}

void CTrayCore::OfferAlarmTime(const COleDateTime& t) {
    if (t.IsValid() && t < m_earliestAlarm) m_earliestAlarm = t;
}

void CTrayCore::PullNoteTexts() {
    for (CNote* n : m_notes)
        n->PullTexts();
}

void CTrayCore::ShowNotesReadOnly(bool readOnly) {
    for (CNote* n : m_notes)
        n->SetWindowReadOnly(readOnly);
}

void CTrayCore::CloseNoteWindows(bool keepPosted) {
    for (CNote* n : m_notes) {
        if (!n->m_window || n->m_window->IsRinging()) continue;
        n->m_windowRect = n->m_window->GetWindowRect();
        n->CloseWindow();
        n->m_posted = keepPosted ? 1 : 0;
    }
}

void CTrayCore::BringNotesToTop() {
    for (CNote* n : m_notes)
        if (n->m_window) n->m_window->BringToTop();
}

void CTrayCore::UpdateCountdowns() {
    for (CNote* n : m_notes)
        if (n->m_window && n->m_showCountdown) n->m_window->UpdateCountdown();
}

// ---------------------------------------------------------------- alarms

void CTrayCore::CheckAlarms() {
    if (m_notes.empty() || m_state == StateFileTransfer) return;
    COleDateTime now = Clock::Now();
    for (size_t i = 0; i < m_notes.size(); ++i) {
        CNote* n = m_notes[i];
        if (!n->m_dueSoon || !n->IsAlarmPastAt(now)) continue;
        bool wasPosted = n->m_window != nullptr;
        if (!n->m_window && m_windowFactory) n->OpenWindow(-1, -1, true, *m_windowFactory);
        if (n->m_window && !n->m_window->IsRinging() && !n->m_window->IsBusy()) {
            n->m_window->StartAlarm(static_cast<int>(i), wasPosted);
            m_state = StateRinging;
        }
    }
}

void CTrayCore::OpenLogFile() {
    if (m_logFile) return;
    // Appending: every write lands at the end, also after the file was emptied elsewhere.
    // Close-on-exec keeps it out of programs started from here (the log viewer).
    m_logFile = std::fopen((ProgramFolder() + "Log.txt").c_str(), "ae");
}

void CTrayCore::WriteLogLine(const CNote& note) {
    if (m_logEnabled != 1 || !m_logFile) return;
    std::string line = Clock::Now().Format("%A %Y-%m-%d %H:%M:%S ") +
                       (note.m_title.empty() ? std::string("No Title") : note.m_title) + "\n";
    std::fseek(m_logFile, 0, SEEK_END);
    std::fputs(line.c_str(), m_logFile);
    std::fflush(m_logFile);
}

// ---------------------------------------------------------------- later subsystems

void CTrayCore::StartMailCheck(int target, int manual) {
    if (g_mailBusy) return;
    m_mailTarget = target;
    m_mailManual = manual;
    RunMailThread();
}

void CTrayCore::CheckWeather() {}

bool CTrayCore::SyncClock() {
    return false;
}

bool CTrayCore::CanSetClock() {
    return geteuid() == 0;
}

bool CTrayCore::IsOnline() {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* result = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &result) != 0 || !result) return false;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(result->ai_addr)->sin_addr, text,
              sizeof text);
    freeaddrinfo(result);
    std::string first = text;
    return first != "0.0.0.0" && first != "127.0.0.1";
}
