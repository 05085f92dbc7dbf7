#include "core/manager/CNoteListFormat.h"

#include "core/model/CNote.h"
#include "core/sticky/NoteColors.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr double kEpsilon = 5.787037037037037e-6;

std::string Count(int n, const char* one, const char* many) {
    char buf[48];
    std::snprintf(buf, sizeof buf, (n == 1 || n == -1) ? one : many, n);
    return buf;
}
} // namespace

std::string CNoteListFormat::FormatTimeLeft(COleDateTimeSpan span) {
    const double d = span.GetTotalDays();
    const double days = std::trunc(d);
    // Checked as a double first: a huge or undefined span must not reach the int conversion.
    if (!(std::fabs(days) <= 10000.0)) return {};
    if (std::fabs(days) >= 1) return Count(static_cast<int>(days), "%d day", "%d days");
    const int hours = static_cast<int>(std::trunc(d * 24.0 + kEpsilon));
    if (hours != 0) return Count(hours, "%d hour", "%d hours");
    const int minutes = static_cast<int>(std::trunc(d * 1440.0 + kEpsilon));
    return Count(minutes, "%d minute", "%d minutes");
}

std::string CNoteListFormat::TitleText(const CNote& note, bool& untitled) {
    untitled = note.m_title.find_first_not_of(" \t") == std::string::npos;
    if (!untitled) return note.m_title;
    const size_t start = note.m_text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return {};
    return note.m_text.substr(start, note.m_text.find_first_of("\r\n", start) - start);
}

std::string CNoteListFormat::TimeText(const CNote& note) {
    return note.m_nextTime.Format(kTimeFormat);
}

std::string CNoteListFormat::TimeLeftText(const CNote& note, const COleDateTime& now) {
    if (note.m_type == CNote::Memo) return {};
    // Only "Remind me again" puts the alarm after the occurrence: the alarm is what counts.
    if (note.m_alarmTime.IsValid() && note.m_alarmTime > note.m_nextTime)
        return "snoozed, " + FormatTimeLeft(note.m_alarmTime - now);
    return FormatTimeLeft(note.m_nextTime - now);
}

CNoteListFormat::Icon CNoteListFormat::RowIcon(const CNote& note, const COleDateTime& now) {
    if (!note.m_dueSoon) return note.m_type == CNote::Memo ? GreenPage : YellowPage;
    const int minutes = note.MinutesUntil(now);
    if (minutes > 60) return GreenBell;
    return minutes >= 5 ? YellowBell : RedBell;
}

COLORREF CNoteListFormat::DueSoonTextColor(COLORREF c) {
    // Contrast with its own delta per channel: 0 for red and green, 80 for blue.
    const int b = GetBValue(c);
    return ShiftColor(c, 0, 0, b * 100 / 255 <= 50 ? 80 : -80);
}

COLORREF CNoteListFormat::TintedColumnColor(COLORREF window) {
    return ContrastColor(window, 5);
}
