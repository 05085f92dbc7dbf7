#include "gui/manager/CDateTimeEdit.h"

#include "core/manager/CDateTimeFields.h"

CDateTimeEdit::CDateTimeEdit(CDateTimeFields& fields, QWidget* parent)
    : CFieldEdit(fields, parent), m_dateTime(fields) {
    setMaxLength(CDateTimeFields::kTextLimit);
}

void CDateTimeEdit::SetTime(const COleDateTime& value) {
    m_dateTime.SetTime(value);
    Refresh();
}

const COleDateTime& CDateTimeEdit::Value() const {
    return m_dateTime.Value();
}
