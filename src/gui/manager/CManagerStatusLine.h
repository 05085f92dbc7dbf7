#pragma once

#include "core/manager/CDueWatch.h"

#include <QObject>
#include <string>
#include <vector>

class CCalendarCtrl;
class CNote;
class COleDateTime;
class IDesktopNotices;
class QLabel;
class QLineEdit;
class QWidget;

// The Note Manager's status line: what waits to ring while the manager is open, else what the
// calendar says of the day under the pointer; Ctrl+F opens a find field over its right half.
class CManagerStatusLine : public QObject {
    Q_OBJECT
public:
    CManagerStatusLine(QWidget& window, const CCalendarCtrl& calendar);

    QLabel* Label() const { return m_status; }
    QLineEdit* FindField() const { return m_find; }
    void Place(int left, int top, int width, int height);

    // Tells once of each reminder that fell due (nothing rings while the manager is open).
    void WatchDue(IDesktopNotices* notices, const std::vector<CNote*>& notes,
                  const COleDateTime& now);
    // The manager closes and the notes ring now: their notices go.
    void WithdrawDue(IDesktopNotices* notices);
    void ShowText();

    void ShowFind();
    // Hides and empties the find field; false when there was nothing to end.
    bool ClearFind();

signals:
    void findChanged();
    // Typing in the find field ended: the keys go to the list again.
    void findLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    const CCalendarCtrl& m_calendar;
    QLabel* m_status;
    QLineEdit* m_find;
    CDueWatch m_due;
    std::string m_dueText;
};
