#include "gui/options/COptionsPage.h"

#include "core/platform/IDialogs.h"
#include "core/platform/IntegerField.h"
#include "gui/widgets/DialogUnits.h"

#include <QLineEdit>

COptionsPage::COptionsPage(COptionsValues& values, IDialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_values(values), m_dialogs(dialogs) {
    setFont(DialogUnits::DialogFont());
}

bool COptionsPage::ReadInteger(QLineEdit* edit, int min, int max, int& value) {
    std::string error;
    if (ParseIntegerField(edit->text().toStdString(), min, max, value, &error)) return true;
    m_dialogs.MessageBox(error, "Jotterly", IDialogs::Ok, IDialogs::Warning);
    // The field keeps the focus, its text selected for typing over.
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}
