// The exported RRULE, expanded by libical, must give the occurrences Jotterly's own stepping
// gives, for every kind of rule, in two zones with daylight-saving changes.
#include "core/ical/CICalMapping.h"
#include "core/ical/CICalRule.h"
#include "support/IcalTestSupport.h"

#include "core/platform/Clock.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kMaxOccurrences = 300;

// Jotterly's successive occurrences: each acknowledged a second after its alarm.
std::vector<std::string> JotterlyOccurrences(CNote note, const COleDateTime& until) {
    std::vector<std::string> out;
    Clock::SetForTest(note.m_startTime - COleDateTimeSpan(note.m_priorDays + 1.0));
    note.m_baseTime = note.m_startTime;
    note.Recompute();
    while (note.m_nextTime.IsValid() && note.m_nextTime <= until && out.size() < kMaxOccurrences) {
        out.push_back(CICalRule::FormatLocal(note.m_nextTime));
        Clock::SetForTest(note.m_alarmTime + COleDateTimeSpan(0, 0, 0, 1));
        note.Recompute();
    }
    Clock::ResetForTest();
    return out;
}

// libical's expansion of the one event in an exported calendar, as wall-clock times.
std::vector<std::string> LibicalOccurrences(const std::string& calendar,
                                            const COleDateTime& until) {
    std::vector<std::string> out;
    icalcomponent* cal = icalparser_parse_string(calendar.c_str());
    icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT);
    icalproperty* rrule = icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY);
    EXPECT_NE(rrule, nullptr) << calendar;
    if (!rrule) return out;
    const icaltimetype start = icalcomponent_get_dtstart(ev);
    icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rrule), start);
    const std::string last = CICalRule::FormatLocal(until);
    for (icaltimetype t = icalrecur_iterator_next(it);
         !icaltime_is_null_time(t) && out.size() < kMaxOccurrences;
         t = icalrecur_iterator_next(it)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02d", t.year, t.month, t.day, t.hour,
                      t.minute, t.second);
        if (std::string(buf) > last) break;
        out.push_back(buf);
    }
    icalrecur_iterator_free(it);
    icalcomponent_free(cal);
    return out;
}

struct Row {
    int recurrence, indexDay, priorDays;
    COleDateTime start;
};

// Every rule the editor can make: all units with counts from 1 to 999, every index rule,
// month ends, 29 February, prior days 0 to 24; starts spread over the years, never inside the
// hour a spring change skips (libical moves such a start and keeps it moved).
std::vector<Row> Rows(std::mt19937& rng) {
    std::vector<Row> rows;
    auto day = [&](int y0, int y1) {
        std::uniform_int_distribution<int> y(y0, y1), m(1, 12), d(1, 28), h(4, 23), mi(0, 59);
        return COleDateTime(y(rng), m(rng), d(rng), h(rng), mi(rng), 0);
    };
    std::uniform_int_distribution<int> prior(0, 24), anyCount(1, 999);
    const int counts[] = {1, 2, 3, 7, 12, 13, 30, 59, 60, 61, 100, 365, 999};
    for (int unit = CNote::Minute; unit <= CNote::Year; ++unit) {
        for (int count : counts)
            rows.push_back(
                {unit * 1000 + count, 0, unit >= CNote::Day ? prior(rng) : 0, day(2000, 2030)});
        for (int i = 0; i < 8; ++i)
            rows.push_back({unit * 1000 + anyCount(rng), 0, unit >= CNote::Day ? prior(rng) : 0,
                            day(2000, 2030)});
    }
    for (int i = 0; i < 14; ++i) {
        rows.push_back({CNote::Workday * 1000, 0, 0, day(2000, 2030) + COleDateTimeSpan(i % 7)});
        rows.push_back({CNote::Weekend * 1000, 0, 0, day(2000, 2030) + COleDateTimeSpan(i % 7)});
    }
    for (int weekday = 1; weekday <= 7; ++weekday)
        for (int nth = 1; nth <= 5; ++nth) {
            const int count = nth == 3 ? 12 : nth; // 12 months: the same month every year
            rows.push_back({CNote::Month * 1000 + count, 10000 + weekday * 10 + nth, prior(rng),
                            day(2000, 2030)});
            const int month = (weekday * 5 + nth) % 12 + 1;
            rows.push_back({CNote::Year * 1000 + nth, 10000 + month * 100 + weekday * 10 + nth,
                            prior(rng), day(2000, 2030)});
        }
    // Month ends that every visited month has: the 28th, the 31st of a 12-month rule.
    rows.push_back({CNote::Month * 1000 + 1, 0, 3, COleDateTime(2023, 1, 28, 9, 0, 0)});
    rows.push_back({CNote::Month * 1000 + 12, 0, 0, COleDateTime(2023, 1, 31, 9, 0, 0)});
    rows.push_back({CNote::Year * 1000 + 1, 0, 24, COleDateTime(2023, 12, 31, 23, 59, 0)});
    return rows;
}

class IcalDifferential : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { m_zone.emplace(GetParam()); }
    void TearDown() override { m_zone.reset(); }
    std::optional<ScopedZone> m_zone;
};

TEST_P(IcalDifferential, LibicalExpandsTheSameOccurrences) {
    std::mt19937 rng(31);
    int compared = 0;
    for (const Row& row : Rows(rng)) {
        CNote note = IcalTestNote(CNote::Every);
        note.m_recurrence = row.recurrence;
        note.m_indexDay = row.indexDay;
        note.m_priorDays = row.priorDays;
        note.m_startTime = row.start;
        const CICalRule::Exported rule = CICalRule::ForNote(note);
        ASSERT_TRUE(rule.exact) << row.recurrence << " " << row.indexDay;
        const std::string calendar = ExportOne(note, GetParam());
        const COleDateTime until = note.m_startTime + COleDateTimeSpan(3653.0);
        const auto ours = JotterlyOccurrences(note, until);
        const auto theirs = LibicalOccurrences(calendar, until);
        ASSERT_FALSE(ours.empty());
        ASSERT_EQ(ours, theirs) << "rule " << row.recurrence << " index " << row.indexDay
                                << " prior " << row.priorDays << "\n"
                                << calendar;
        compared += int(ours.size());
    }
    EXPECT_GT(compared, 20000);
}

// The two rules RFC 5545 cannot say get the nearest rule, and the exact one comes back.
TEST_P(IcalDifferential, MonthEndsAnd29FebruaryComeBackExactly) {
    const Row rows[] = {
        {CNote::Month * 1000 + 1, 0, 0, COleDateTime(2023, 1, 31, 9, 0, 0)},
        {CNote::Month * 1000 + 2, 0, 5, COleDateTime(2023, 3, 30, 9, 0, 0)},
        {CNote::Month * 1000 + 12, 0, 0, COleDateTime(2024, 2, 29, 9, 0, 0)},
        {CNote::Month * 1000 + 1, 0, 0, COleDateTime(2024, 1, 29, 9, 0, 0)},
        {CNote::Year * 1000 + 1, 0, 2, COleDateTime(2024, 2, 29, 8, 15, 0)},
        {CNote::Year * 1000 + 4, 0, 0, COleDateTime(2024, 2, 29, 8, 15, 0)},
    };
    for (const Row& row : rows) {
        CNote note = IcalTestNote(CNote::Every);
        note.m_recurrence = row.recurrence;
        note.m_priorDays = row.priorDays;
        note.m_startTime = row.start;
        EXPECT_FALSE(CICalRule::ForNote(note).exact) << row.recurrence;
        const std::string calendar = ExportOne(note, GetParam());
        EXPECT_NE(calendar.find("BYSETPOS=-1"), std::string::npos) << calendar;
        const CNote back = ImportOne(calendar);
        EXPECT_EQ(back.m_recurrence, note.m_recurrence);
        EXPECT_EQ(back.m_priorDays, note.m_priorDays);
        EXPECT_EQ(back.m_startTime, note.m_startTime);
        const COleDateTime until = note.m_startTime + COleDateTimeSpan(3653.0);
        EXPECT_EQ(JotterlyOccurrences(back, until), JotterlyOccurrences(note, until));
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, IcalDifferential,
                         ::testing::Values("America/New_York", "Europe/Berlin"));

} // namespace
