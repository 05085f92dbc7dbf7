#include "gui/manager/CIndexDayEdit.h"

#include "core/manager/CIndexDayFields.h"

CIndexDayEdit::CIndexDayEdit(CIndexDayFields& fields, QWidget* parent)
    : CFieldEdit(fields, parent), m_rule(fields) {}

void CIndexDayEdit::SetIndexRule(int week, int weekday, int month, bool monthly) {
    m_rule.SetIndexRule(week, weekday, month, monthly);
    Refresh();
}

void CIndexDayEdit::SetIndexDay(int code) {
    m_rule.SetIndexDay(code);
    Refresh();
}

int CIndexDayEdit::IndexDay() const {
    return m_rule.IndexDay();
}
