#pragma once

#include "gui/options/CEmailPage.h"
#include "gui/options/CNotePage.h"

#include <QDialog>
#include <vector>

class CAlarmPage;
class CHolidayPage;
class COtherPage;
class IOptionsHost;
class ISound;
class QPushButton;
class QTabWidget;

// "Options": the modal sheet of the pages "Alarm", "Note", "Email", "Holidays" and "Other"
// over a copy of the settings. OK checks the page shown and writes every page's controls into
// the values; Cancel leaves them as they were. A page whose fields are refused cannot be left.
class COptionsSheet : public QDialog {
    Q_OBJECT
public:
    enum PageIndex { Alarm, Note, Email, Holidays, Other };

    COptionsSheet(QWidget* parent, COptionsValues& values, IOptionsHost& hub, IDialogs& dialogs,
                  ISound& sound);
    ~COptionsSheet() override;

    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    CAlarmPage* AlarmPage() const { return m_alarm; }
    CNotePage* NotePage() const { return m_note; }
    CEmailPage* EmailPage() const { return m_email; }
    CHolidayPage* HolidayPage() const { return m_holidays; }
    COtherPage* OtherPage() const { return m_other; }
    bool AccountsChanged() const { return m_email->AccountsChanged(); }

    void accept() override;
    void done(int result) override;

private:
    void OnTabChanged(int index);

    QTabWidget* m_tabs;
    CAlarmPage* m_alarm;
    CNotePage* m_note;
    CEmailPage* m_email;
    CHolidayPage* m_holidays;
    COtherPage* m_other;
    std::vector<COptionsPage*> m_pages;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    int m_shown = 0;
    bool m_reverting = false;
};
