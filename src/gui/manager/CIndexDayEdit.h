#pragma once

#include "gui/manager/CFieldEdit.h"

class CIndexDayFields;

// An index-day rule such as ' 2nd Tue of Mar', edited field by field.
class CIndexDayEdit : public CFieldEdit {
    Q_OBJECT
public:
    CIndexDayEdit(CIndexDayFields& fields, QWidget* parent);

    void SetIndexRule(int week, int weekday, int month, bool monthly);
    void SetIndexDay(int code);
    int IndexDay() const;

private:
    CIndexDayFields& m_rule;
};
