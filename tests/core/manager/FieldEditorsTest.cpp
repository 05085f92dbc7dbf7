#include "core/manager/CDateTimeFields.h"
#include "core/manager/CIndexDayFields.h"
#include "core/platform/Clock.h"

#include <gtest/gtest.h>

namespace {
using Key = CFieldEditor::Key;
using F = CDateTimeFields;

CDateTimeFields At(int y, int mo, int d, int h, int mi) {
    return CDateTimeFields(COleDateTime(y, mo, d, h, mi, 0));
}

// Puts the selection on a field the way a click on its text does.
CDateTimeFields& On(CDateTimeFields& e, int field) {
    e.OnClick(F::FieldStart(field) + 1);
    EXPECT_EQ(e.LastField(), field);
    return e;
}

TEST(DateTimeFields, ShowsFixedFieldsForEveryYear) {
    auto e = At(2003, 5, 13, 9, 30);
    EXPECT_EQ(e.Text(), "Tue, May 13, 2003 09:30 AM");
    // Years below 1000 keep four digits, or every field after the year would shift.
    EXPECT_EQ(At(999, 12, 31, 23, 5).Text(), "Tue, Dec 31, 0999 11:05 PM");
    EXPECT_EQ(At(150, 2, 3, 0, 0).Text(), "Tue, Feb 03, 0150 12:00 AM");
    // A damaged time cannot be shown or stepped: the field starts from now instead.
    Clock::SetForTest(COleDateTime(2003, 5, 13, 9, 30, 0));
    EXPECT_EQ(CDateTimeFields(COleDateTime(1e9)).Text(), "Tue, May 13, 2003 09:30 AM");
    Clock::ResetForTest();
}

// Month and year steps lower the day to the month's last; day, hour and minute steps carry;
// Up and Down both switch the halves of the same day; Space jumps to round values and never
// carries. The selection stays on the field.
TEST(DateTimeFields, KeysStepTheFieldTheirWay) {
    using T = COleDateTime;
    const struct {
        T start;
        int field;
        const char* keys; // U Up, D Down, S Space
        T value;
    } cases[] = {
        {T(2004, 1, 31, 22, 0, 0), F::Month, "U", T(2004, 2, 29, 22, 0, 0)},
        {T(2003, 3, 31, 8, 0, 0), F::Month, "D", T(2003, 2, 28, 8, 0, 0)},
        {T(2003, 12, 15, 8, 0, 0), F::Month, "U", T(2004, 1, 15, 8, 0, 0)},
        {T(2003, 12, 15, 8, 0, 0), F::Month, "UDD", T(2003, 11, 15, 8, 0, 0)},
        {T(2004, 2, 29, 8, 0, 0), F::Year, "U", T(2005, 2, 28, 8, 0, 0)},
        {T(2003, 12, 31, 23, 59, 0), F::Minute, "U", T(2004, 1, 1, 0, 0, 0)},
        {T(2004, 1, 1, 0, 0, 0), F::Hour, "D", T(2003, 12, 31, 23, 0, 0)},
        {T(2003, 12, 31, 23, 0, 0), F::Weekday, "U", T(2004, 1, 1, 23, 0, 0)},
        {T(2004, 1, 1, 23, 0, 0), F::AmPm, "U", T(2004, 1, 1, 11, 0, 0)},
        {T(2004, 1, 1, 23, 0, 0), F::AmPm, "UU", T(2004, 1, 1, 23, 0, 0)},
        {T(2004, 1, 1, 23, 0, 0), F::AmPm, "UUD", T(2004, 1, 1, 11, 0, 0)},
        {T(2003, 5, 13, 9, 50, 0), F::Minute, "S", T(2003, 5, 13, 9, 0, 0)},
        {T(2003, 5, 13, 9, 50, 0), F::Minute, "SS", T(2003, 5, 13, 9, 15, 0)},
        {T(2003, 5, 13, 22, 40, 0), F::Hour, "S", T(2003, 5, 13, 0, 40, 0)},
        {T(2003, 5, 1, 8, 0, 0), F::Day, "S", T(2003, 5, 5, 8, 0, 0)},
        {T(2003, 5, 1, 8, 0, 0), F::Day, "SSSSSS", T(2003, 5, 30, 8, 0, 0)},
        {T(2003, 5, 1, 8, 0, 0), F::Day, "SSSSSSS", T(2003, 5, 1, 8, 0, 0)},
        {T(2003, 5, 1, 8, 0, 0), F::Day, "SSSSSSSS", T(2003, 5, 5, 8, 0, 0)},
        {T(2004, 2, 25, 8, 0, 0), F::Day, "S", T(2004, 2, 1, 8, 0, 0)},
        {T(2003, 12, 31, 8, 0, 0), F::Month, "S", T(2003, 1, 31, 8, 0, 0)},
        {T(2003, 12, 31, 8, 0, 0), F::Month, "SS", T(2003, 4, 30, 8, 0, 0)},
        {T(2003, 12, 31, 8, 0, 0), F::Month, "SSS", T(2003, 8, 30, 8, 0, 0)},
        {T(2003, 12, 31, 8, 0, 0), F::Month, "SSSSS", T(2003, 1, 30, 8, 0, 0)},
        {T(2003, 1, 30, 8, 0, 0), F::Weekday, "S", T(2003, 2, 6, 8, 0, 0)},
        {T(2003, 2, 6, 8, 0, 0), F::Year, "S", T(2003, 2, 6, 8, 0, 0)},
        {T(2003, 2, 6, 8, 0, 0), F::AmPm, "S", T(2003, 2, 6, 8, 0, 0)},
    };
    for (const auto& c : cases) {
        CDateTimeFields e(c.start);
        On(e, c.field);
        for (const char* k = c.keys; *k; ++k)
            e.OnKey(*k == 'U' ? Key::Up : *k == 'D' ? Key::Down : Key::Space);
        EXPECT_EQ(e.Value(), c.value)
            << c.start.Format("%F %R") << " field " << c.field << " " << c.keys;
        EXPECT_EQ(e.LastField(), c.field);
        EXPECT_EQ(e.SelStart(), F::FieldStart(c.field));
    }
}

TEST(DateTimeFields, DatesStayWithinTheYears100To9999) {
    const COleDateTime last(9999, 12, 31, 23, 59, 0), first(100, 1, 1, 0, 0, 0);
    for (int f : {F::Year, F::Month, F::Weekday, F::Day, F::Hour, F::Minute}) {
        CDateTimeFields top(last), bottom(first);
        On(top, f).OnKey(Key::Up);
        EXPECT_EQ(top.Value(), last) << f;
        On(bottom, f).OnKey(Key::Down);
        EXPECT_EQ(bottom.Value(), first) << f;
    }
    CDateTimeFields week(last);
    On(week, F::Weekday).OnKey(Key::Space);
    EXPECT_EQ(week.Value(), last);
    auto y = At(9990, 6, 1, 0, 0); // a long step stops at the last year
    On(y, F::Year).StepField(25);
    EXPECT_EQ(y.Value(), COleDateTime(9999, 6, 1, 0, 0, 0));
    y.StepField(-20000);
    EXPECT_EQ(y.Value(), COleDateTime(100, 6, 1, 0, 0, 0));
}

TEST(DateTimeFields, LeftAndRightVisitTheFieldsInTextOrderAndWrap) {
    auto e = At(2003, 5, 13, 9, 30);
    e.OnClick(0);
    std::vector<int> right, left;
    for (int i = 0; i < 8; ++i) {
        e.OnKey(Key::Right);
        right.push_back(e.LastField());
    }
    for (int i = 0; i < 8; ++i) {
        e.OnKey(Key::Left);
        left.push_back(e.LastField());
    }
    EXPECT_EQ(right, (std::vector<int>{F::Month, F::Day, F::Year, F::Hour, F::Minute, F::AmPm,
                                       F::Weekday, F::Month}));
    EXPECT_EQ(left, (std::vector<int>{F::Weekday, F::AmPm, F::Minute, F::Hour, F::Year, F::Day,
                                      F::Month, F::Weekday}));
    e.OnClick(12); // between fields: the one to the left
    EXPECT_EQ(e.LastField(), F::Day);
    EXPECT_EQ(e.SelStart(), 9);
    EXPECT_EQ(e.SelEnd(), 11);
    e.OnKey(Key::Other); // typing changes nothing
    EXPECT_EQ(e.Text(), "Tue, May 13, 2003 09:30 AM");
    e.SelectFieldAt(-1); // no field: stepping does nothing
    EXPECT_EQ(e.LastField(), F::NoField);
    e.StepField(1);
    e.StepField(-1);
    EXPECT_EQ(e.Value(), COleDateTime(2003, 5, 13, 9, 30, 0));
}

TEST(DateTimeFields, FocusSelectsTheDayButTheListIsOfTheLastFieldMovedTo) {
    auto e = At(2003, 5, 13, 9, 30);
    e.OnFocus(); // nothing chosen yet: the list of the field under the caret
    EXPECT_EQ(e.SelStart(), 9);
    auto list = e.OpenChooser();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->kind, CFieldChoices::Day);
    EXPECT_FALSE(e.OpenChooser()); // one list at a time
    e.ApplyChoice(false, 0);
    EXPECT_FALSE(e.ChooserOpen());

    On(e, F::Month);
    e.OnFocus();
    list = e.OpenChooser();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->kind, CFieldChoices::Month);
    EXPECT_EQ(list->preselect, 4);
    EXPECT_EQ(e.SelStart(), 5); // the list's field is the one highlighted ...
    e.ApplyChoice(true, 2);
    EXPECT_EQ(e.Value(), COleDateTime(2003, 3, 13, 9, 30, 0)); // ... and the one changed
    EXPECT_EQ(e.SelStart(), 5);

    On(e, F::AmPm); // no list: the right click switches the half of the day
    EXPECT_FALSE(e.OpenChooser());
    EXPECT_EQ(e.Value().GetHour(), 21);
}

TEST(DateTimeFields, ListsAndPicks) {
    auto e = At(2003, 12, 10, 15, 37);
    auto pick = [&](int field, int index) {
        On(e, field);
        auto list = e.OpenChooser();
        EXPECT_TRUE(list);
        e.ApplyChoice(true, index);
        return list ? *list : CFieldChoices{};
    };
    CFieldChoices days = pick(F::Day, 30);
    EXPECT_EQ(days.entries.size(), 31u);
    EXPECT_EQ(days.preselect, 9);
    EXPECT_EQ(e.Value(), COleDateTime(2003, 12, 31, 15, 37, 0));
    CFieldChoices years = pick(F::Year, 5);
    EXPECT_EQ(years.entries,
              (std::vector<std::string>{"2002", "2003", "2004", "2005", "2006", "2007"}));
    EXPECT_EQ(years.preselect, 1);
    EXPECT_EQ(e.Value(), COleDateTime(2007, 12, 31, 15, 37, 0));
    pick(F::Weekday, 0); // Monday 31st -> Sunday of the same week
    EXPECT_EQ(e.Value(), COleDateTime(2007, 12, 30, 15, 37, 0));
    CFieldChoices minutes = pick(F::Minute, 11);
    EXPECT_EQ(minutes.entries.front(), "0");
    EXPECT_EQ(minutes.entries.back(), "55");
    EXPECT_EQ(minutes.preselect, 7);
    EXPECT_EQ(e.Value().GetMinute(), 55);
    CFieldChoices hours = pick(F::Hour, 4);
    EXPECT_EQ(hours.entries.size(), 13u);
    EXPECT_EQ(hours.preselect, 3);
    EXPECT_EQ(e.Value().GetHour(), 16); // the afternoon stays the afternoon
    pick(F::Hour, 12);                  // and noon is the same day, not the next midnight
    EXPECT_EQ(e.Value(), COleDateTime(2007, 12, 30, 12, 55, 0));
    pick(F::Month, 1);
    EXPECT_EQ(e.Value(), COleDateTime(2007, 2, 28, 12, 55, 0));

    auto leap = At(2004, 2, 3, 8, 0);
    EXPECT_EQ(CFieldChoices::ForDate(CFieldChoices::Day, leap.Value()).entries.size(), 29u);
    auto last = At(9998, 6, 1, 8, 0); // the year list never offers a year a date cannot have
    EXPECT_EQ(CFieldChoices::ForDate(CFieldChoices::Year, last.Value()).entries.back(), "9999");
    EXPECT_EQ(CFieldChoices::ForDate(CFieldChoices::Year, At(100, 1, 1, 0, 0).Value()).preselect,
              0);
}

TEST(IndexDayFields, CodesTextsAndSteps) {
    CIndexDayFields e;
    e.SetIndexRule(5, 7, 12, false);
    EXPECT_EQ(e.Text(), "Last Sat of Dec");
    EXPECT_EQ(e.IndexDay(), 11275);
    e.SetIndexDay(10032);
    EXPECT_EQ(e.Text(), " 2nd Tue");
    EXPECT_TRUE(e.Monthly());
    EXPECT_EQ(e.IndexDay(), 10032);
    e.SetIndexDay(11154); // fourth Thursday of November
    EXPECT_EQ(e.Text(), " 4th Thu of Nov");
    e.SetIndexDay(10099); // a damaged code shows a rule, never reads past the names
    EXPECT_EQ(e.Text(), "Last Sat");

    e.SetIndexRule(5, 1, 12, false);
    e.OnFocus();
    e.OnKey(Key::Up);
    EXPECT_EQ(e.Text(), " 1st Sun of Dec");
    e.OnKey(Key::Down);
    EXPECT_EQ(e.Text(), "Last Sun of Dec");
    e.OnKey(Key::Right);
    e.OnKey(Key::Down);
    EXPECT_EQ(e.Text(), "Last Sat of Dec");
    e.OnClick(13);
    e.OnKey(Key::Up);
    EXPECT_EQ(e.Text(), "Last Sat of Jan");
    e.OnKey(Key::Right); // wraps around to the week
    EXPECT_EQ(e.LastField(), CIndexDayFields::WeekField);
    e.OnKey(Key::Left);
    EXPECT_EQ(e.LastField(), CIndexDayFields::MonthField);
    e.OnKey(Key::Space);
    EXPECT_EQ(e.Text(), "Last Sat of Jan");
}

TEST(IndexDayFields, ListsPickTheValueAndTheMonthlyFormHasTwoFields) {
    CIndexDayFields e;
    e.SetIndexRule(2, 3, 3, false);
    e.OnClick(13);
    auto months = e.OpenChooser();
    ASSERT_TRUE(months);
    EXPECT_EQ(months->kind, CFieldChoices::Month);
    EXPECT_EQ(months->preselect, 2);
    e.ApplyChoice(true, 9);
    EXPECT_EQ(e.Text(), " 2nd Tue of Oct");
    e.OnClick(1);
    auto weeks = e.OpenChooser();
    ASSERT_TRUE(weeks);
    EXPECT_EQ(weeks->entries, (std::vector<std::string>{"1st", "2nd", "3rd", "4th", "Last"}));
    EXPECT_EQ(weeks->preselect, 1);
    e.ApplyChoice(true, 4);
    EXPECT_EQ(e.IndexDay(), 11035);

    e.OnClick(13);
    e.SetIndexRule(1, 1, 1, true); // the month field goes away with the monthly form
    EXPECT_EQ(e.Text(), " 1st Sun");
    EXPECT_EQ(e.LastField(), CIndexDayFields::WeekField);
    e.OnClick(7);
    e.OnKey(Key::Right);
    EXPECT_EQ(e.LastField(), CIndexDayFields::WeekField);
    e.OnKey(Key::Left);
    EXPECT_EQ(e.LastField(), CIndexDayFields::WeekdayField);
    auto days = e.OpenChooser();
    ASSERT_TRUE(days);
    EXPECT_EQ(days->kind, CFieldChoices::Weekday);
    e.ApplyChoice(false, 3); // dismissed: nothing changes
    EXPECT_EQ(e.IndexDay(), 10011);
}

} // namespace
