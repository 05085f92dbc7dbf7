#include "core/manager/CNoteEditModel.h"

#include "core/platform/Clock.h"
#include "core/platform/IntegerField.h"

#include <algorithm>

const char* const CNoteEditModel::kTypeNames[kTypeCount] = {"One Time", "Every", "Memo"};
const char* const CNoteEditModel::kUnitNames[kUnitCount] = {"Minute", "Hour", "Day",     "Week",
                                                            "Month",  "Year", "Workday", "Weekend"};

namespace {
const int kTypes[CNoteEditModel::kTypeCount] = {CNote::OneTime, CNote::Every, CNote::Memo};
}

int CNoteEditModel::TypeAt(int index) {
    return index >= 0 && index < kTypeCount ? kTypes[index] : CNote::OneTime;
}

int CNoteEditModel::IndexOfType(int type) {
    for (int i = 0; i < kTypeCount; ++i)
        if (kTypes[i] == type) return i;
    return IndexOfType(CNote::Memo); // an unknown type is shown as what it acts like
}

CNoteEditModel::CNoteEditModel(bool timeOnly) : m_start(Clock::Now()), m_timeOnly(timeOnly) {}

COleDateTime CNoteEditModel::InAnHour() {
    return Clock::Now() + COleDateTimeSpan(0, 1, 0, 0);
}

void CNoteEditModel::HideCount() {
    m_visible.count = false;
    m_countText = "1";
    m_count = 1;
}

void CNoteEditModel::HidePrior() {
    m_visible.prior = false;
    m_priorText = "0";
    m_prior = 0;
}

void CNoteEditModel::ApplyTypeRules(int type, int unit) {
    m_visible.prior = true;
    switch (type) {
    case CNote::Memo:
        m_visible.unit = false;
        HideCount();
        HidePrior();
        m_visible.indexCheck = m_visible.indexField = false;
        break;
    case CNote::OneTime:
        m_visible.unit = false;
        HideCount();
        m_visible.indexCheck = m_visible.indexField = false;
        break;
    default:
        m_visible.unit = m_visible.count = true;
        UpdateIndexVisibility();
        if (unit < CNote::Week || unit > CNote::Year) HidePrior();
        if (unit == CNote::Workday || unit == CNote::Weekend) HideCount();
        break;
    }
}

void CNoteEditModel::UpdateIndexVisibility() {
    const bool dated = m_type == CNote::Every && (m_unit == CNote::Month || m_unit == CNote::Year);
    m_visible.indexCheck = dated;
    m_visible.indexField = dated && m_indexChecked;
}

std::optional<CNoteEditModel::Refusal> CNoteEditModel::OnTypeChanged(int type) {
    m_type = type;
    m_unit = CNote::Day;
    ApplyTypeRules(type, m_unit);
    std::optional<Refusal> refused = ReadFields();
    m_prior = 0;
    WriteFields();
    if (type != CNote::Memo) m_start.SetTime(InAnHour());
    return refused;
}

void CNoteEditModel::OnUnitChanged(int unit) {
    m_unit = unit;
    m_indexChecked = false;
    ApplyTypeRules(m_type, unit);
}

void CNoteEditModel::OnIndexCheckClicked(bool checked) {
    m_indexChecked = checked;
    UpdateIndexVisibility();
    if (checked) m_index.SetIndexRule(1, 1, 1, m_unit == CNote::Month);
}

void CNoteEditModel::StepCount(int delta) {
    int count = m_count;
    ParseIntegerField(m_countText, kMinCount, kMaxCount, count);
    count = std::max(kMinCount, std::min(kMaxCount, count + delta));
    m_count = count;
    m_countText = std::to_string(count);
}

std::optional<CNoteEditModel::Refusal> CNoteEditModel::Clear() {
    return OnTypeChanged(TypeAt(0));
}

void CNoteEditModel::NewEntry() {
    m_subject.clear();
    m_item.clear();
    m_indexChecked = false;
    m_countText = "1";
    m_priorText = "0";
    OnTypeChanged(CNote::OneTime);
    m_start.SetTime(NextWholeHour(Clock::Now()));
}

COleDateTime CNoteEditModel::NextWholeHour(const COleDateTime& now) {
    COleDateTime::Parts p;
    if (!now.GetParts(p)) return now;
    return COleDateTime(p.year, p.month, p.day, p.hour, 0, 0) + COleDateTimeSpan(0, 1, 0, 0);
}

std::optional<CNoteEditModel::Refusal> CNoteEditModel::ReadFields() {
    std::string error;
    int count = m_count, prior = m_prior;
    if (!ParseIntegerField(m_countText, kMinCount, kMaxCount, count, &error))
        return Refusal{CountEdit, error};
    m_count = count;
    if (!ParseIntegerField(m_priorText, kMinPrior, kMaxPrior, prior, &error))
        return Refusal{PriorEdit, error};
    m_prior = prior;
    return std::nullopt;
}

void CNoteEditModel::WriteFields() {
    m_countText = std::to_string(m_count);
    m_priorText = std::to_string(m_prior);
}

void CNoteEditModel::LoadFromNote(const CNote* note) {
    if (!note) {
        m_type = CNote::OneTime;
        m_unit = CNote::Minute;
        m_start.SetTime(InAnHour());
        ApplyTypeRules(CNote::OneTime, -1);
        WriteFields();
        return;
    }
    if (!m_timeOnly) {
        m_subject = note->m_title;
        m_item = note->m_text;
    }
    m_type = TypeAt(IndexOfType(note->m_type));
    m_start.SetTime(note->m_startTime);
    switch (m_type) {
    case CNote::Memo:
        ApplyTypeRules(CNote::Memo, -1);
        break;
    case CNote::OneTime:
        ApplyTypeRules(CNote::OneTime, -1);
        m_prior = note->m_priorDays;
        break;
    default: {
        m_prior = note->m_priorDays;
        int unit = note->m_recurrence / 1000;
        int count = note->m_recurrence - 1000 * unit;
        if (unit < 0 || unit >= kUnitCount) unit = CNote::Day, count = 1; // damaged record
        m_unit = unit;
        ApplyTypeRules(CNote::Every, unit);
        m_count = count != 0 ? count : 1;
        m_indexChecked = (unit == CNote::Month || unit == CNote::Year) && note->m_indexDay > 10000;
        if (m_indexChecked) m_index.SetIndexDay(note->m_indexDay);
        UpdateIndexVisibility();
        break;
    }
    }
    WriteFields();
}

std::optional<CNoteEditModel::Refusal> CNoteEditModel::SaveToNote(CNote& note) {
    if (std::optional<Refusal> refused = ReadFields()) return refused;
    note.m_type = m_type;
    note.m_startTime = note.m_baseTime = m_start.Value();
    if (!m_timeOnly) {
        note.m_title = m_subject;
        note.m_text = m_item;
    }
    note.m_indexDay = 0;
    note.m_priorDays = m_prior;
    switch (m_type) {
    case CNote::Memo:
        note.m_alarmTime = note.m_nextTime = note.m_startTime;
        note.m_dueSoon = 0;
        note.m_recurrence = 20000;
        break;
    case CNote::OneTime:
        note.Recompute();
        note.m_recurrence = 0;
        break;
    default:
        note.m_recurrence = m_count + 1000 * m_unit;
        if ((m_unit == CNote::Month || m_unit == CNote::Year) && m_indexChecked)
            note.m_indexDay = m_index.IndexDay();
        if (m_unit == CNote::Minute || m_unit == CNote::Hour) note.m_priorDays = 0;
        if (m_unit == CNote::Workday || m_unit == CNote::Weekend) {
            note.m_priorDays = 0;
            note.m_recurrence = 1000 * m_unit;
        }
        note.Recompute();
        break;
    }
    return std::nullopt;
}
