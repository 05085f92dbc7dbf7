#pragma once

#include "core/manager/CFieldEditor.h"
#include "core/platform/COleDateTime.h"

// A date and time shown as 'Tue, May 13, 2003 09:30 AM' and edited field by field: keys and
// arrows step a field, Space jumps it to the next round value, a right click offers a list.
// Dates stay within the years 100 to 9999; a step that would leave them changes nothing.
class CDateTimeFields : public CFieldEditor {
public:
    // Field indexes; in the text they stand as weekday, month, day, year, hour, minute, AM/PM.
    enum Field { NoField = -1, Year = 0, Month, Weekday, Day, Hour, Minute, AmPm, FieldCount };
    static constexpr int kTextLimit = 28;

    explicit CDateTimeFields(const COleDateTime& value);

    // Shows value; a value that is not valid shows now instead. The selection stays.
    void SetTime(const COleDateTime& value);
    const COleDateTime& Value() const { return m_value; }

    // The value as shown; the year always has four digits so the fields keep their places.
    static std::string Format(const COleDateTime& value);
    static int FieldStart(int field);
    static int FieldEnd(int field);
    // The first field (in index order) whose positions include pos, or NoField.
    static int FieldAt(int pos);

    void SelectFieldAt(int pos);
    void StepFieldOf(int field, int n);
    void JumpField();

    std::string Text() const override { return Format(m_value); }
    void OnFocus() override;
    void OnClick(int pos) override { SelectFieldAt(pos); }
    void OnKey(Key key) override;
    void StepField(int n) override { StepFieldOf(FieldAt(m_selEnd), n); }

protected:
    int ChooserField() const override;
    void SelectField(int field) override;
    std::optional<CFieldChoices> ChoicesFor(int field) override;
    void Apply(int field, int value) override;

private:
    COleDateTime m_value;
};
