#include "core/calendar/CCalendarLayout.h"
#include "core/calendar/CCalendarModel.h"
#include "core/calendar/CHolidayTable.h"
#include "core/platform/Clock.h"

#include <gtest/gtest.h>

namespace {
// A calendar 140 x 160 pixels: cells 20 high and 20 wide, arrows 15 wide.
const CCalendarLayout kLayout(139, 159);

class Calendar : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::SetForTest({2003, 8, 20, 15, 30, 0});
        model = CCalendarModel();
        model.AttachHolidays(&holidays);
    }
    void TearDown() override { Clock::ResetForTest(); }
    void Go(int y, int m, int d) {
        model.Select({y, m, d, 0, 0, 0});
        holidays.ComputeDates(y);
    }
    std::string Date() const { return model.Selected().Format("%Y-%m-%d %H:%M:%S"); }
    // The centre of the cell of a day of the displayed month.
    void ClickDay(int day) {
        int col, row;
        model.CellOfDay(day, col, row);
        const RECT r = kLayout.CellRect(col, row);
        last = model.LeftDown(kLayout, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    CHolidayTable holidays;
    CCalendarModel model;
    CCalendarModel::Outcome last;
};
} // namespace

TEST_F(Calendar, MonthGridAndClicks) {
    EXPECT_EQ(Date(), "2003-08-20 00:00:00"); // today at midnight
    // August 2003 starts on a Friday and needs a sixth week row.
    EXPECT_EQ(model.FirstCol(), 5);
    EXPECT_EQ(model.LastRow(), 6);
    EXPECT_EQ(model.LastCol(), 0);
    EXPECT_EQ(model.DayAt(0, 6), 31);
    EXPECT_EQ(model.DayAt(1, 6), 0); // right of the last day
    EXPECT_EQ(model.DayAt(4, 1), 0); // before day 1
    EXPECT_EQ(model.DayAt(0, 0), 0); // the weekday band
    EXPECT_EQ(model.DayAt(7, 2), 0); // right of the grid is not next row's Sunday
    ClickDay(31);
    EXPECT_EQ(Date(), "2003-08-31 00:00:00");
    EXPECT_TRUE(last.redraw && last.infoChanged);
    ClickDay(31); // the same day again: only redrawn
    EXPECT_TRUE(last.redraw);
    EXPECT_FALSE(last.infoChanged);
    last = model.LeftDown(kLayout, 30, 150); // row 6 right of the 31st
    EXPECT_EQ(Date(), "2003-08-31 00:00:00");
    EXPECT_TRUE(last.redraw);

    // Double click: picks the day (at 01:01:01); in the title, back to today.
    int col, row;
    model.CellOfDay(15, col, row);
    const RECT r = kLayout.CellRect(col, row);
    last = model.DoubleClick(kLayout, r.left + 2, r.top + 2);
    EXPECT_TRUE(last.picked);
    EXPECT_EQ(model.Picked().Format("%Y-%m-%d %H:%M:%S"), "2003-08-15 01:01:01");
    model.MoveBy(1, 2);
    last = model.DoubleClick(kLayout, 70, 10);
    EXPECT_FALSE(last.picked);
    EXPECT_EQ(Date(), "2003-08-20 00:00:00");
    EXPECT_EQ(model.DoubleClick(kLayout, 70, 30).picked, false); // weekday initials
}

TEST_F(Calendar, ArrowsKeepTheDayWithinTheMonthAndTheYearsWithin1900To2100) {
    auto arrow = [&](int x) { model.LeftDown(kLayout, x, 5); };
    const int a = kLayout.ArrowSize(), w = kLayout.Width();
    Go(2003, 1, 31);
    arrow(a + 3); // previous month
    EXPECT_EQ(Date(), "2002-12-31 00:00:00");
    model.MoveBy(1, 1);
    EXPECT_EQ(Date(), "2004-01-31 00:00:00");
    arrow(w - a - 3); // next month
    EXPECT_EQ(Date(), "2004-02-29 00:00:00");
    arrow(w - 2); // next year
    EXPECT_EQ(Date(), "2005-02-28 00:00:00");
    EXPECT_EQ(holidays.entries[0].date.GetYear(), 2005); // holidays follow the year
    Go(2004, 2, 29);
    arrow(2); // previous year
    EXPECT_EQ(Date(), "2003-02-28 00:00:00");

    Go(2100, 12, 15);
    EXPECT_FALSE(model.MoveBy(1, 0));
    EXPECT_FALSE(model.MoveBy(0, 1)); // not into 2101 by the month arrow either
    EXPECT_EQ(Date(), "2100-12-15 00:00:00");
    Go(1900, 1, 15);
    arrow(2);
    arrow(a + 3);
    EXPECT_EQ(Date(), "1900-01-15 00:00:00");
    EXPECT_TRUE(model.MoveBy(0, 0));
}

TEST_F(Calendar, InformationLine) {
    // Only Thanksgiving enabled: from Nov 6, 2003 the full moon of Nov 9 is three days away.
    for (auto& h : holidays.entries)
        h.enabled = 0;
    holidays.entries[26].enabled = 1;
    Go(2003, 11, 6);
    model.ComposeInfo(true);
    EXPECT_EQ(model.InfoText(), " 3 days to Full         21 days to Thanksgiving (Nov 27)");
    EXPECT_TRUE(model.Waxing());

    // On the full-moon day the whole disc is lit, on the new-moon day none of it.
    Go(2003, 11, 9);
    model.ComposeInfo(true);
    EXPECT_EQ(model.InfoText(), " Full         18 days to Thanksgiving (Nov 27)");
    EXPECT_EQ(kLayout.MoonDisc(model.MoonPercent(), model.Waxing()).shape,
              CCalendarLayout::MoonShape::Whole);
    Go(2003, 11, 23);
    model.ComposeInfo(true);
    EXPECT_EQ(model.InfoText().substr(0, 5), " New ");
    EXPECT_EQ(kLayout.MoonDisc(model.MoonPercent(), model.Waxing()).shape,
              CCalendarLayout::MoonShape::None);
    Go(2003, 11, 22);
    model.ComposeInfo(true);
    EXPECT_EQ(model.InfoText().substr(0, 12), " 1 day to Ne");

    // On the holiday itself the name stands alone; after the last one, New Year counts.
    Go(2003, 11, 27);
    model.ComposeInfo(true);
    EXPECT_NE(model.InfoText().find("         Thanksgiving (Nov 27)"), std::string::npos);
    holidays.entries[27].enabled = 1;
    for (int day = 26; day <= 31; ++day) {
        Go(2003, 12, day);
        model.ComposeInfo(true);
        const std::string tail =
            std::to_string(32 - day) + (day == 31 ? " day" : " days") + " to New Year (Jan 01)";
        EXPECT_EQ(model.InfoText().substr(model.InfoText().size() - tail.size()), tail) << day;
    }
    model.ComposeInfo(false); // quiet: no holiday part
    EXPECT_EQ(model.InfoText().find("New Year"), std::string::npos);
}

TEST(CalendarLayout, ZonesAndMoonShapes) {
    using Z = CCalendarLayout::Zone;
    const int a = kLayout.ArrowSize(); // 15
    EXPECT_EQ(kLayout.HitZone(a - 1, a - 1), Z::PrevYear);
    EXPECT_EQ(kLayout.HitZone(a, 5), Z::None); // the borders belong to no arrow
    EXPECT_EQ(kLayout.HitZone(a + 1, 5), Z::PrevMonth);
    EXPECT_EQ(kLayout.HitZone(2 * a, 5), Z::None);
    EXPECT_EQ(kLayout.HitZone(31, 5), Z::Title);
    EXPECT_EQ(kLayout.HitZone(140 - 2 * a + 1, 5), Z::NextMonth);
    EXPECT_EQ(kLayout.HitZone(140 - a + 1, 5), Z::NextYear);
    EXPECT_EQ(kLayout.HitZone(5, a + 1), Z::None); // below the arrows, left of the title
    EXPECT_EQ(kLayout.HitZone(5, 20), Z::Grid);

    using M = CCalendarLayout::MoonShape;
    const auto disc = kLayout.MoonDisc(25, true);
    EXPECT_EQ(disc.circle, (RECT{25, 50, 115, 140})); // 5 cells less 10 across, centred
    EXPECT_EQ(disc.shape, M::RightCrescent);
    EXPECT_EQ(disc.k, 22);
    EXPECT_EQ(kLayout.MoonDisc(75, true).shape, M::RightGibbous);
    EXPECT_EQ(kLayout.MoonDisc(25, false).shape, M::LeftGibbous);
    EXPECT_EQ(kLayout.MoonDisc(75, false).shape, M::LeftCrescent);
    EXPECT_EQ(kLayout.MoonDisc(50, false).shape, M::LeftHalf);
}
