#include "core/alarms/CAlarmCheck.h"

#include "core/alarms/IAlarmHost.h"
#include "core/model/CNoteStore.h"
#include "core/model/CSettings.h"
#include "core/model/TrayState.h"
#include "core/platform/Clock.h"
#include "core/platform/INoteWindow.h"
#include "core/platform/ISound.h"
#include "core/platform/PlatformServices.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CAlarmCheck::~CAlarmCheck() {
    if (m_logFile) std::fclose(m_logFile);
}

namespace {
constexpr int kPrepareSoundSeconds = 30;
} // namespace

bool CAlarmCheck::OnTick() {
    Clock::FollowTimeZone();
    const int period = m_host.settings().m_checkPeriod;
    const bool jumped = m_clockJumps.OnTick(Clock::Now(), Clock::MonotonicMs(), period);
    if (jumped) Resync();
    const int seconds = COleDateTime::WholeSeconds(m_earliestAlarm - Clock::Now());
    // The sound output is loaded only when needed: half a minute ahead of the alarm, so that
    // the ring does not wait for it.
    if (seconds < kPrepareSoundSeconds)
        if (ISound* sound = m_host.Platform().sound) sound->Prepare();
    const int state = m_host.State();
    if (state == StateManagerOpen) return jumped;
    // Two timer periods ahead: an alarm never waits for the tick after it.
    if (seconds < period / 500 && state != StateOptionsOpen) CheckAlarms();
    return jumped;
}

void CAlarmCheck::Resync() {
    RefreshDueFlags();
    // From scratch: after a jump backwards the old earliest alarm may lie too early.
    ComputeEarliestAlarm();
}

void CAlarmCheck::CheckAlarms() {
    const CNoteStore::Notes& notes = m_host.Store().notes();
    if (notes.empty() || m_host.State() == StateFileTransfer) return;
    INoteWindowFactory* factory = m_host.Platform().windows;
    COleDateTime now = Clock::Now();
    for (size_t i = 0; i < notes.size(); ++i) {
        CNote* n = notes[i].get();
        if (!n->m_dueSoon || !n->IsAlarmPastAt(now)) continue;
        bool wasPosted = n->Window() != nullptr;
        if (!n->Window() && factory) n->OpenWindow(-1, -1, true, *factory);
        if (n->Window() && !n->Window()->IsRinging() && !n->Window()->IsBusy()) {
            n->Window()->StartAlarm(static_cast<int>(i), wasPosted);
            m_host.SetState(StateRinging);
        }
    }
}

void CAlarmCheck::RefreshDueFlags() {
    COleDateTime now = Clock::Now();
    COleDateTime endOfDay = CNote::EndOfDay(now);
    for (const auto& n : m_host.Store().notes()) {
        n->m_dueSoon = n->IsDueSoonAt(now, endOfDay);
        // A note that has just become due soon must bring the alarm check forward too, or it
        // would wait for the next load.
        if (n->m_dueSoon) OfferAlarmTime(n->m_alarmTime);
    }
}

void CAlarmCheck::ComputeEarliestAlarm() {
    m_earliestAlarm = NoAlarm();
    for (const auto& n : m_host.Store().notes())
        if (n->m_dueSoon && n->m_alarmTime.IsValid() && n->m_alarmTime < m_earliestAlarm)
            m_earliestAlarm = n->m_alarmTime;
}

void CAlarmCheck::OfferAlarmTime(const COleDateTime& t) {
    if (t.IsValid() && t < m_earliestAlarm) m_earliestAlarm = t;
}

namespace {

// The log holds reminder titles: only the user may read it, also a file an older version made.
// Appending: every write lands at the end, also after the file was emptied elsewhere.
// Close-on-exec keeps it out of programs started from here (the log viewer).
FILE* OpenLog(const std::string& path, bool empty) {
    const int fd = ::open(
        path.c_str(),
        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | (empty ? O_TRUNC : 0), 0600);
    if (fd < 0) return nullptr;
    ::fchmod(fd, 0600);
    FILE* file = ::fdopen(fd, "a");
    if (!file) ::close(fd);
    return file;
}

} // namespace

void CAlarmCheck::OpenLogFile(const std::string& folder) {
    if (m_logFile) return;
    m_logPath = folder + "Log.txt";
    m_logFile = OpenLog(m_logPath, false);
}

bool CAlarmCheck::PurgeLog() {
    if (m_logPath.empty()) return false;
    FILE* emptied = OpenLog(m_logPath, true);
    if (!emptied) return false;
    std::fclose(emptied);
    // The old handle may name a file replaced meanwhile: later lines go to the emptied one.
    if (m_logFile) std::fclose(m_logFile);
    m_logFile = OpenLog(m_logPath, false);
    return true;
}

void CAlarmCheck::WriteLogLine(const CNote& note) {
    WriteLogText(Clock::Now().Format("%A %Y-%m-%d %H:%M:%S ") +
                 (note.m_title.empty() ? std::string("No Title") : note.m_title) + "\n");
}

void CAlarmCheck::WriteLogText(const std::string& line) {
    if (m_host.settings().m_logEnabled != 1 || !m_logFile) return;
    std::fseek(m_logFile, 0, SEEK_END);
    std::fputs(line.c_str(), m_logFile);
    std::fflush(m_logFile);
}
