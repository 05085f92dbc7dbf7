#pragma once

#include "core/calendar/CCalendarModel.h"

#include <QWidget>

class CHolidayTable;

// The small month calendar: header with year and month between the year and month arrows,
// weekday initials with red Sundays, the days over a pale moon disc in the current phase,
// today in a raised frame and the selected day in a sunken one. Every repaint recomposes the
// information line (days to the next moon phase and holiday) and tells the parent; a double
// click on a day picks it.
class CCalendarCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CCalendarCtrl(QWidget* parent = nullptr);

    // The holiday table (not owned), computed for the displayed year.
    void AttachHolidays(CHolidayTable* holidays);
    void GoToToday();
    void MoveBy(int years, int months);

    const CCalendarModel& Model() const { return m_model; }
    const COleDateTime& Picked() const { return m_model.Picked(); }
    QString InfoText() const { return QString::fromStdString(m_model.InfoText()); }

    QSize sizeHint() const override { return QSize(154, 152); }

signals:
    // Posted after a day was double-clicked (Picked() holds it).
    void dayPicked();
    // Posted after the information line was recomposed (InfoText() holds it).
    void infoChanged();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void Handle(const CCalendarModel::Outcome& outcome);
    void PostInfoChanged();

    CCalendarModel m_model;
};
