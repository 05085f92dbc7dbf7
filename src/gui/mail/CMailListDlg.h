#pragma once

#include "core/mail/CMailCheck.h"
#include "gui/widgets/CPointerDrag.h"

#include <QDialog>
#include <vector>

class QLabel;
class QTableWidget;

// The new-mail window: a frameless, resizable list of the waiting messages inside a rounded
// frame. The band above the list moves the window, the stamp closes it, and a double click on
// a row starts the desktop's mail program.
class CMailListDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMailListDlg(QWidget* parent = nullptr);

    // Shows these rows under the headline; the report (failures and notes, a line each) below
    // the second line.
    void SetContent(const std::string& headline, const std::vector<MailRow>& rows,
                    const std::vector<std::string>& report);

    QTableWidget* List() const { return m_list; }
    QLabel* Stamp() const { return m_stamp; }
    QLabel* Headline() const { return m_headline; }
    // Starts the mail program for a row, as a double click on it does.
    void OpenRow(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Arrange();
    // Account, sender and subject share the list's width as 2 : 3 : 4.
    void FitColumns();

    QLabel* m_headline;
    QLabel* m_hint;
    QLabel* m_failures;
    QLabel* m_stamp;
    QTableWidget* m_list;
    std::vector<MailRow> m_rows;
    CPointerDrag m_drag{*this};
    bool m_sized = false;
};
