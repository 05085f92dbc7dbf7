#include "core/manager/CDateTimeFields.h"

#include "core/platform/Clock.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kMinYear = 100, kMaxYear = 9999;
// year, month, weekday, day, hour, minute, AM/PM
constexpr int kStart[] = {13, 5, 0, 9, 18, 21, 24};
constexpr int kEnd[] = {17, 8, 3, 11, 20, 23, 27};

// The date with the day lowered until it exists (Jan 31 + 1 month is Feb 28 or 29). Invalid
// only when the year or month is out of range.
COleDateTime Rebuild(int year, int month, int day, int hour, int minute, int second) {
    day = std::clamp(day, 1, 31);
    COleDateTime t(year, month, day, hour, minute, second);
    while (!t.IsValid() && day > 28)
        t = COleDateTime(year, month, --day, hour, minute, second);
    return t;
}

// The same time rebuilt from its parts, so that repeated steps never gather rounding errors.
COleDateTime Canonical(const COleDateTime& t) {
    COleDateTime::Parts p;
    if (!t.GetParts(p)) return t;
    // The fields show no seconds, so the value has none: "07:07 AM" rings at 07:07:00.
    return COleDateTime(p.year, p.month, p.day, p.hour, p.minute, 0);
}
} // namespace

CDateTimeFields::CDateTimeFields(const COleDateTime& value) {
    SetTime(value);
}

void CDateTimeFields::SetTime(const COleDateTime& value) {
    m_value = Canonical(value.IsValid() ? value : Clock::Now());
}

std::string CDateTimeFields::Format(const COleDateTime& value) {
    if (!value.IsValid()) return {};
    char year[8];
    std::snprintf(year, sizeof year, "%04d", value.GetYear());
    return value.Format("%a, %b %d, ") + year + value.Format(" %I:%M %p");
}

int CDateTimeFields::FieldStart(int field) {
    return field >= 0 && field < FieldCount ? kStart[field] : -1;
}

int CDateTimeFields::FieldEnd(int field) {
    return field >= 0 && field < FieldCount ? kEnd[field] : -1;
}

int CDateTimeFields::FieldAt(int pos) {
    for (int f = 0; f < FieldCount; ++f)
        if (kStart[f] <= pos && pos <= kEnd[f]) return f;
    return NoField;
}

void CDateTimeFields::SelectFieldAt(int pos) {
    for (int q = pos; q >= 0; --q) {
        const int f = FieldAt(q);
        if (f != NoField) {
            m_field = f;
            Select(kStart[f], kEnd[f]);
            return;
        }
    }
    m_field = NoField;
    Select(pos, pos);
}

void CDateTimeFields::OnFocus() {
    Select(kStart[Day], kEnd[Day]);
}

void CDateTimeFields::OnKey(Key key) {
    switch (key) {
    case Key::Left: {
        const int p = m_selStart - 2;
        SelectFieldAt(p < 0 ? kTextLimit - 1 : p);
        break;
    }
    case Key::Right: {
        const int p = m_selEnd + 2;
        SelectFieldAt(p > kTextLimit ? 2 : p);
        break;
    }
    case Key::Up:
        StepField(1);
        break;
    case Key::Down:
        StepField(-1);
        break;
    case Key::Space:
        JumpField();
        break;
    case Key::Other:
        break;
    }
}

void CDateTimeFields::StepFieldOf(int field, int n) {
    COleDateTime::Parts p;
    if (!m_value.GetParts(p)) return;
    COleDateTime next;
    switch (field) {
    case Year:
        // Bounded: outside 100..9999 no day of the month exists and lowering it never ends.
        next = Rebuild(std::clamp(p.year + n, kMinYear, kMaxYear), p.month, p.day, p.hour, p.minute,
                       0);
        break;
    case Month: {
        const long months = p.year * 12L + (p.month - 1) + n;
        const long year = months >= 0 ? months / 12 : -1;
        if (year < kMinYear || year > kMaxYear) return;
        next = Rebuild(static_cast<int>(year), static_cast<int>(months % 12) + 1, p.day, p.hour,
                       p.minute, 0);
        break;
    }
    case Weekday:
    case Day:
        next = m_value + COleDateTimeSpan(n, 0, 0, 0);
        break;
    case Hour:
        next = m_value + COleDateTimeSpan(n / 24.0);
        break;
    case Minute:
        next = m_value + COleDateTimeSpan(n / 1440.0);
        break;
    case AmPm: // whatever n is: the other half of the same day
        next = m_value + COleDateTimeSpan((p.hour >= 12 ? -12 : 12) / 24.0);
        break;
    default: // the selection lies in no field
        return;
    }
    if (next.IsValid()) m_value = Canonical(next);
}

void CDateTimeFields::JumpField() {
    COleDateTime::Parts p;
    if (!m_value.GetParts(p)) return;
    switch (FieldAt(m_selEnd)) {
    case Minute:
        p.minute = (p.minute / 15 + 1) * 15 % 60; // no carry into the hour
        break;
    case Hour:
        p.hour = (p.hour / 3 + 1) * 3 % 24; // nor into the day
        break;
    case Day:
        p.day = (p.day / 5 + 1) * 5;
        if ((p.month == 2 && p.day >= 26) || p.day >= 32) p.day = 1;
        break;
    case Weekday: {
        const COleDateTime week = m_value + COleDateTimeSpan(7, 0, 0, 0);
        if (!week.GetParts(p)) return;
        break;
    }
    case Month:
        p.month = p.month / 4 * 4 + 4;
        if (p.month > 12) p.month = 1;
        break;
    default:
        return;
    }
    const COleDateTime next = Rebuild(p.year, p.month, p.day, p.hour, p.minute, 0);
    if (next.IsValid()) m_value = next;
}

int CDateTimeFields::ChooserField() const {
    return m_field != NoField ? m_field : FieldAt(m_selEnd);
}

void CDateTimeFields::SelectField(int field) {
    SelectFieldAt(kStart[field]);
}

std::optional<CFieldChoices> CDateTimeFields::ChoicesFor(int field) {
    if (field == AmPm) { // no list: the right click switches the half of the day
        StepFieldOf(AmPm, 1);
        return std::nullopt;
    }
    return CFieldChoices::ForDate(field, m_value);
}

void CDateTimeFields::Apply(int field, int value) {
    COleDateTime::Parts p;
    if (!m_value.GetParts(p)) return;
    switch (field) {
    case Year:
        StepFieldOf(Year, value - p.year);
        break;
    case Month:
        StepFieldOf(Month, value - p.month);
        break;
    case Weekday: // within the same week
        StepFieldOf(Day, value - p.dayOfWeek);
        break;
    case Day:
        StepFieldOf(Day, value - p.day);
        break;
    case Hour: {
        // The list counts 0..12 within the half of the day shown; a pick never changes the date.
        int hour = value;
        if (p.hour >= 12) hour = value == 12 ? 12 : value + 12;
        StepFieldOf(Hour, hour - p.hour);
        break;
    }
    case Minute:
        StepFieldOf(Minute, value - p.minute);
        break;
    default:
        break;
    }
}
