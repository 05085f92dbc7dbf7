#pragma once

#include "core/manager/CFieldEditor.h"

// An index-day rule such as ' 2nd Tue of Mar' (yearly) or 'Last Fri' (monthly), edited field
// by field like a date. Its code is 10000 + month x 100 + weekday x 10 + week, month 0 when
// monthly; week 5 is the last such weekday.
class CIndexDayFields : public CFieldEditor {
public:
    enum Field { WeekField = 0, WeekdayField = 1, MonthField = 2 };

    CIndexDayFields() {
        m_field = WeekField;
        SetIndexRule(1, 1, 1, false);
    }

    // Values out of range become the nearest valid ones.
    void SetIndexRule(int week, int weekday, int month, bool monthly);
    void SetIndexDay(int code);
    int IndexDay() const;

    int Week() const { return m_week; }
    int Weekday() const { return m_weekday; }
    int Month() const { return m_month; }
    bool Monthly() const { return m_monthly; }

    void StepFieldOf(int field, int n);

    std::string Text() const override;
    void OnFocus() override;
    void OnClick(int pos) override;
    void OnKey(Key key) override;
    void StepField(int n) override;

protected:
    int ChooserField() const override { return m_field; }
    void SelectField(int field) override;
    std::optional<CFieldChoices> ChoicesFor(int field) override;
    void Apply(int field, int value) override;

private:
    int FieldCount() const { return m_monthly ? 2 : 3; }
    int FieldAtEnd() const;

    int m_week = 1, m_weekday = 1, m_month = 1;
    bool m_monthly = false;
};
