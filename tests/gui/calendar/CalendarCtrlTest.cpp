#include "core/calendar/CCalendarLayout.h"
#include "core/calendar/CHolidayTable.h"
#include "core/platform/Clock.h"
#include "core/platform/SystemMetrics.h"
#include "gui/calendar/CCalendarCtrl.h"
#include "gui/platform/GdiPaint.h"
#include "gui/support/DarkPalette.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

namespace {
using Pixels::Sys;
// November 2003 (it starts on a Saturday): full moon on the 9th, new moon on the 23rd, and
// today is Thursday the 20th.
class CalendarCtrl : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::SetForTest({2003, 11, 20, 10, 0, 0});
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(palette ? *palette : QApplication::style()->standardPalette());
        cal = new CCalendarCtrl(&window);
        cal->setGeometry(10, 10, 154, 152);
        cal->AttachHolidays(&holidays);
        window.setGeometry(40, 40, 174, 172);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override {
        Clock::ResetForTest();
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    CCalendarLayout Layout() const { return CCalendarLayout(cal->width(), cal->height()); }
    QPoint DayPoint(int day) const {
        int col, row;
        cal->Model().CellOfDay(day, col, row);
        const RECT r = Layout().CellRect(col, row);
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::string Selected() const { return cal->Model().Selected().Format("%Y-%m-%d"); }
    void Click(QPoint at) { QTest::mouseClick(cal, Qt::LeftButton, {}, at); }
    QImage Grab(const QString& name) {
        cal->repaint();
        return ImageCompare::Grab(cal, "calendar", name);
    }
    QRgb Px(const QImage& img, int x, int y) const {
        return Pixels::At(img, x, y, cal->devicePixelRatioF());
    }
    // How many pixels of a cell look red.
    int RedIn(const QImage& img, int col, int row) const {
        const RECT r = Layout().CellRect(col, row);
        return Pixels::CountIf(
            img, QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)),
            [](QRgb c) { return qRed(c) > 180 && qGreen(c) < 110 && qBlue(c) < 110; },
            cal->devicePixelRatioF());
    }
    void ExpectReference(const QImage& img, const QString& name) {
        ImageCompare::ExpectReference(img, cal, QStringLiteral("calendar"), name);
    }

    const QPalette* palette = nullptr;
    QWidget window;
    CCalendarCtrl* cal = nullptr;
    CHolidayTable holidays;
};

TEST_F(CalendarCtrl, ArrowsStepMonthsAndADoubleClickPicksADay) {
    const int a = Layout().ArrowSize(), w = Layout().Width();
    EXPECT_EQ(Selected(), "2003-11-20");
    Click({w - a - a / 2, a / 2}); // next month
    EXPECT_EQ(Selected(), "2003-12-20");
    Click({a + a / 2, a / 2}); // previous month
    EXPECT_EQ(Selected(), "2003-11-20");

    QSignalSpy info(cal, &CCalendarCtrl::infoChanged);
    Click(DayPoint(9));
    EXPECT_EQ(Selected(), "2003-11-09");
    ASSERT_TRUE(info.wait(1000));
    EXPECT_EQ(cal->InfoText().left(5).toStdString(), " Full");

    QSignalSpy picked(cal, &CCalendarCtrl::dayPicked);
    QTest::mouseDClick(cal, Qt::LeftButton, {}, DayPoint(15));
    ASSERT_TRUE(picked.wait(1000));
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(cal->Picked().Format("%Y-%m-%d %H:%M:%S"), "2003-11-15 01:01:01");
    EXPECT_EQ(Selected(), "2003-11-15");
    // A double click on the weekday initials picks nothing; on the title it goes to today.
    QTest::mouseDClick(cal, Qt::LeftButton, {}, {w / 2, Layout().CellHeight() * 3 / 2});
    cal->MoveBy(2, 3);
    QTest::mouseDClick(cal, Qt::LeftButton, {}, {w / 2, Layout().CellHeight() / 2});
    QTest::qWait(20);
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(Selected(), "2003-11-20");
}

// A full-moon day: the whole disc behind the days, today raised, the selected day sunken,
// Sundays in red.
TEST_F(CalendarCtrl, PictureOfAFullMoonDay) {
    Click(DayPoint(9));
    const QImage img = Grab(QStringLiteral("full-moon"));
    const int cw = Layout().CellWidth(), ch = Layout().CellHeight();
    const QRgb moon = qRgb(245, 230, 212) | 0xFF000000u;
    EXPECT_EQ(Px(img, 3 * cw + 1, 5 * ch + 1), moon); // the corner of the 19th, mid-disc
    EXPECT_EQ(Px(img, 4 * cw + 1, 5 * ch + 1), Sys(COLOR_BTNHIGHLIGHT)); // today, the 20th
    EXPECT_EQ(Px(img, 5 * cw - 3, 6 * ch - 3), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Px(img, 2, 4 * ch + 2), Sys(COLOR_BTNSHADOW)); // the 9th, selected
    EXPECT_GT(RedIn(img, 0, 3), 5);                          // Sunday the 9th
    EXPECT_GT(RedIn(img, 0, 0), 3);                          // its initial
    EXPECT_EQ(RedIn(img, 1, 3), 0);                          // Monday the 10th
    EXPECT_EQ(Px(img, 0, 0), Sys(COLOR_BTNSHADOW));          // the sunken outer frame
    EXPECT_EQ(Px(img, cal->width() - 1, cal->height() - 1), Sys(COLOR_BTNHIGHLIGHT));
    // Readable at 1x: digits and initials at least 8 pixels tall (the 1st, Saturday's "S",
    // Monday's "M"), inside their cells away from any frame.
    const qreal dpr = cal->devicePixelRatioF();
    for (const auto& [col, row] : {std::pair{6, 1}, std::pair{6, 0}, std::pair{1, 0}}) {
        const RECT r = Layout().CellRect(col, row);
        const QRect inner(int((r.left + 3) * dpr), int((r.top + 2) * dpr),
                          int((r.Width() - 5) * dpr), int((r.Height() - 3) * dpr));
        EXPECT_GE(ImageCompare::InkHeight(img, inner, Sys(COLOR_BTNFACE)), int(8 * dpr))
            << col << "," << row;
    }
    ExpectReference(img, QStringLiteral("full-moon"));
}

TEST_F(CalendarCtrl, PictureOfANewMoonDay) {
    Click(DayPoint(23));
    EXPECT_EQ(cal->InfoText().left(5).toStdString(), " New ");
    const QImage img = Grab(QStringLiteral("new-moon"));
    const int cw = Layout().CellWidth(), ch = Layout().CellHeight();
    EXPECT_EQ(Px(img, 3 * cw + 1, 5 * ch + 1), Sys(COLOR_BTNFACE)); // no disc at all
    ExpectReference(img, QStringLiteral("new-moon"));
}

class DarkCalendarCtrl : public CalendarCtrl {
protected:
    void SetUp() override {
        palette = &dark;
        CalendarCtrl::SetUp();
    }
    const QPalette dark = DarkPalette();
};

// On a dark desktop the disc is only a tint, so the light day numbers over it stay readable.
TEST_F(DarkCalendarCtrl, PictureOfAFullMoonDay) {
    Click(DayPoint(9));
    const QImage img = Grab(QStringLiteral("full-moon-dark"));
    const int cw = Layout().CellWidth(), ch = Layout().CellHeight();
    const QColor disc(Px(img, 3 * cw + 1, 5 * ch + 1));
    EXPECT_LT(disc.value(), 120);
    EXPECT_GT(disc.red(), 50 + 10);         // warmer than the face
    const RECT r = Layout().CellRect(3, 4); // the digits of the 19th, over the disc
    EXPECT_GT(Pixels::CountIf(
                  img, QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)),
                  [](QRgb c) { return QColor(c).value() > 180; }, cal->devicePixelRatioF()),
              5);
    ExpectReference(img, QStringLiteral("full-moon-dark"));
}
} // namespace
