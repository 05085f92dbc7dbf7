#pragma once

#include "gui/options/COptionsPage.h"

class CHolidayTable;
class QTableWidget;

// "Holidays": which holidays the calendar shows, one check box per holiday.
class CHolidayPage : public COptionsPage {
    Q_OBJECT
public:
    CHolidayPage(COptionsValues& values, IDialogs& dialogs, const CHolidayTable& table,
                 QWidget* parent);

    void Store() override;
    QTableWidget* List() const { return m_list; }

private:
    QTableWidget* m_list;
};
