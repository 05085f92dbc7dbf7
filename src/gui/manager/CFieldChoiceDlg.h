#pragma once

#include "core/manager/CFieldChoices.h"

#include <QFrame>

class QListWidget;

// The small list that a right click on a date or index-day field pops up below the field. A
// click on an entry (or Enter on it) picks it at once; Escape, a click elsewhere or anything
// else that closes the list cancels. It reports once, through closed(), and is then hidden.
class CFieldChoiceDlg : public QFrame {
    Q_OBJECT
public:
    // topLeft is in screen pixels; the list is kept on the screen.
    CFieldChoiceDlg(const CFieldChoices& choices, QPoint topLeft, QWidget* owner);

    QListWidget* List() const { return m_list; }
    const CFieldChoices& Choices() const { return m_choices; }

signals:
    void closed(bool picked, int index);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Finish(bool picked, int index);

    CFieldChoices m_choices;
    QListWidget* m_list;
    bool m_done = false;
};
