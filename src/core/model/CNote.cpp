#include "core/model/CNote.h"

#include "core/platform/Clock.h"
#include "core/platform/INoteWindow.h"
#include "core/platform/INoteWindowFactory.h"

CNote::CNote() {
    COleDateTime now = Clock::Now();
    m_alarmTime = m_nextTime = m_baseTime = m_startTime = now;
}

int CNote::Recompute() {
    switch (m_type) {
    case OneTime:
        m_nextTime = m_startTime;
        m_alarmTime = m_startTime - COleDateTimeSpan(m_priorDays);
        break;
    case Every:
        StepEvery(Clock::Now());
        break;
    default:
        break;
    }
    m_dueSoon = IsDueSoon();
    return 1;
}

int CNote::IsDueSoon() const {
    if (m_type == Memo || !m_alarmTime.IsValid()) return 0;
    COleDateTime now = Clock::Now();
    return IsDueSoonAt(now, EndOfDay(now));
}

int CNote::IsDueSoonAt(const COleDateTime& now, const COleDateTime& endOfDay) const {
    if (m_type == Memo || !m_alarmTime.IsValid()) return 0;
    if (m_alarmTime < endOfDay) return 1;
    return (m_alarmTime - now) < COleDateTimeSpan(0, 7, 0, 0) ? 1 : 0;
}

COleDateTime CNote::EndOfDay(const COleDateTime& now) {
    COleDateTime::Parts p;
    if (!now.GetParts(p)) return now;
    return COleDateTime(p.year, p.month, p.day, 23, 59, 59);
}

int CNote::IsAlarmPast() const {
    return IsAlarmPastAt(Clock::Now());
}

int CNote::IsAlarmPastAt(const COleDateTime& now) const {
    return m_alarmTime.IsValid() && m_alarmTime < now ? 1 : 0;
}

int CNote::MinutesUntil(const COleDateTime& t) const {
    return COleDateTime::WholeMinutes(m_alarmTime - t);
}

void CNote::RemindLater(int hours, int minutes) {
    m_alarmTime = Clock::Now() + COleDateTimeSpan(0, 0, hours * 60 + minutes, 0);
}

std::string CNote::TypeText() const {
    switch (m_type) {
    case Memo:
        return "Memo";
    case OneTime:
        return "One Time";
    default:
        break;
    }
    static const char* const words[] = {"minute", "hour", "day", "week", "month", "year"};
    int unit = Unit();
    if (unit == Workday) return "Workday";
    if (unit == Weekend) return "Weekend";
    if (unit < 0 || unit > Year) return std::to_string(Count());
    int count = Count();
    return std::to_string(count) + " " + words[unit] + (count >= 2 ? "s" : "");
}

void CNote::OpenWindow(int x, int y, bool ringing, INoteWindowFactory& factory) {
    if (m_window.m_window) return;
    m_window.m_window = factory.OpenNoteWindow(*this, x, y, ringing);
}

void CNote::SetWindowReadOnly(bool readOnly) {
    if (INoteWindow* w = Window()) w->SetReadOnly(readOnly);
}

void CNote::CloseWindow() {
    if (INoteWindow* w = Window()) w->Destroy();
    m_window.m_window = nullptr;
}
