#pragma once

#include "gui/manager/CFieldEdit.h"

class CDateTimeFields;
class COleDateTime;

// The start date and time, edited field by field ('Tue, May 13, 2003 09:30 AM').
class CDateTimeEdit : public CFieldEdit {
    Q_OBJECT
public:
    CDateTimeEdit(CDateTimeFields& fields, QWidget* parent);

    // Shows value without telling anyone.
    void SetTime(const COleDateTime& value);
    const COleDateTime& Value() const;

private:
    CDateTimeFields& m_dateTime;
};
