#include "core/manager/CIndexDayFields.h"

#include <algorithm>

namespace {
const char kWeekNames[] = " 1st 2nd 3rd 4thLast";
const char kDayNames[] = "SunMonTueWedThuFriSat";
const char kMonthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
constexpr int kStart[] = {0, 5, 12};
constexpr int kEnd[] = {4, 8, 15};

// value + n, wrapped into 1..count.
int Wrap(int value, int n, int count) {
    return ((value - 1 + n) % count + count) % count + 1;
}
} // namespace

void CIndexDayFields::SetIndexRule(int week, int weekday, int month, bool monthly) {
    m_week = std::clamp(week, 1, 5);
    m_weekday = std::clamp(weekday, 1, 7);
    m_month = std::clamp(month, 1, 12);
    m_monthly = monthly;
    if (m_field >= FieldCount()) m_field = WeekField;
    if (m_selEnd > static_cast<int>(Text().size()) + 1) Select(0, 0);
}

void CIndexDayFields::SetIndexDay(int code) {
    const int d = code - 10000;
    const int month = d / 100;
    SetIndexRule(d % 10, (d - month * 100) / 10, month, month == 0);
}

int CIndexDayFields::IndexDay() const {
    return 10000 + m_weekday * 10 + m_week + (m_monthly ? 0 : m_month * 100);
}

std::string CIndexDayFields::Text() const {
    std::string text = std::string(kWeekNames + (m_week - 1) * 4, 4) + " " +
                       std::string(kDayNames + (m_weekday - 1) * 3, 3);
    if (!m_monthly) text += " of " + std::string(kMonthNames + (m_month - 1) * 3, 3);
    return text;
}

void CIndexDayFields::OnFocus() {
    SelectField(WeekField);
}

void CIndexDayFields::OnClick(int pos) {
    const int field = pos <= kEnd[WeekField]      ? WeekField
                      : pos <= kEnd[WeekdayField] ? WeekdayField
                                                  : MonthField;
    if (field < FieldCount()) {
        SelectField(field);
    } else {
        const int end = static_cast<int>(Text().size());
        Select(end, end);
    }
}

void CIndexDayFields::OnKey(Key key) {
    switch (key) {
    case Key::Up:
        StepField(1);
        break;
    case Key::Down:
        StepField(-1);
        break;
    case Key::Left:
        SelectField(Wrap(m_field + 1, -1, FieldCount()) - 1);
        break;
    case Key::Right:
        SelectField(Wrap(m_field + 1, 1, FieldCount()) - 1);
        break;
    default:
        break;
    }
}

int CIndexDayFields::FieldAtEnd() const {
    for (int f = 0; f < FieldCount(); ++f)
        if (kStart[f] <= m_selEnd && m_selEnd <= kEnd[f]) return f;
    return -1;
}

void CIndexDayFields::StepField(int n) {
    const int field = FieldAtEnd();
    StepFieldOf(field >= 0 ? field : m_field, n);
}

void CIndexDayFields::StepFieldOf(int field, int n) {
    switch (field) {
    case WeekField:
        m_week = Wrap(m_week, n, 5);
        break;
    case WeekdayField:
        m_weekday = Wrap(m_weekday, n, 7);
        break;
    case MonthField:
        if (!m_monthly) m_month = Wrap(m_month, n, 12);
        break;
    default:
        break;
    }
}

void CIndexDayFields::SelectField(int field) {
    m_field = std::clamp(field, 0, FieldCount() - 1);
    Select(kStart[m_field], kEnd[m_field]);
}

std::optional<CFieldChoices> CIndexDayFields::ChoicesFor(int field) {
    switch (field) {
    case WeekField:
        return CFieldChoices::ForIndex(CFieldChoices::WeekOfMonth, m_week - 1);
    case WeekdayField:
        return CFieldChoices::ForIndex(CFieldChoices::Weekday, m_weekday - 1);
    default:
        return CFieldChoices::ForIndex(CFieldChoices::Month, m_month - 1);
    }
}

void CIndexDayFields::Apply(int field, int value) {
    switch (field) {
    case WeekField:
        m_week = value;
        break;
    case WeekdayField:
        m_weekday = value;
        break;
    default:
        m_month = value;
        break;
    }
}
