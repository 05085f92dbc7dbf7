// Calendar files in the shapes other programs write import as the nearest notes, and what a
// note cannot hold is kept in its text and counted.
#include "core/ical/CICalMapping.h"
#include "core/ical/CICalRule.h"
#include "support/IcalTestSupport.h"
#include "support/TestFiles.h"

#include "core/platform/Clock.h"

#include <gtest/gtest.h>

namespace {

std::string Fixture(const std::string& name) {
    return ReadFile(std::string(JOTTERLY_TEST_DATA) + "/ical/" + name);
}

std::string Start(const CNote& n) {
    return CICalRule::FormatLocal(n.m_startTime);
}

TEST(IcalImport, OtherProgramsFilesImportAsDescribed) {
    ScopedZone zone("Europe/Berlin");
    Clock::SetForTest(COleDateTime(2026, 12, 7, 12, 0, 0));
    const struct {
        const char* file;
        int reminders, memos, approximated;
    } files[] = {{"allday.ics", 2, 0, 0},
                 {"otherzone.ics", 2, 0, 0},
                 {"todos.ics", 1, 2, 0},
                 {"weekly.ics", 6, 0, 0},
                 {"limits.ics", 4, 0, 3}};
    const int every = CNote::Every, once = CNote::OneTime, memo = CNote::Memo;
    // The notes of the files above, in file order.
    const struct {
        const char* title;
        int type, recurrence, indexDay, priorDays;
        const char* start;
    } notes[] = {
        {"Anna's birthday", every, 5001, 0, 1, "20270115T000000"},
        {"Day off", once, 0, 0, 0, "20270320T000000"},
        // 09:00 in Seattle (still winter time there) and noon UTC, in Berlin.
        {"Call with Seattle", once, 0, 0, 0, "20270310T180000"},
        {"Launch", once, 0, 0, 0, "20270601T140000"},
        {"Pay the rent", once, 0, 0, 0, "20270105T100000"},
        {"Buy paint", memo, 0, 0, 0, nullptr},
        {"Ideas", memo, 0, 0, 0, "20261130T000000"},
        // Several weekdays: one weekly note each; a fortnightly Monday starts a fortnight on.
        {"Gym", every, 3001, 0, 0, "20270104T183000"},
        {"Gym", every, 3001, 0, 0, "20270106T183000"},
        {"Gym", every, 3001, 0, 0, "20270108T183000"},
        {"Stand-up", every, 6000, 0, 0, "20270104T093000"},
        {"Review", every, 3002, 0, 0, "20270118T140000"},
        {"Review", every, 3002, 0, 0, "20270106T140000"},
        {"Course", every, 2001, 0, 0, "20270111T190000"},
        {"Choir", every, 3001, 0, 0, "20270112T200000"},
        {"Club", every, 4001, 0, 0, "20270112T200000"},
        {"Payday", every, 4001, 10065, 0, "20270129T090000"},
    };
    size_t next = 0;
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        const CICalMapping::Imported got = ImportAll(Fixture(f.file));
        EXPECT_EQ(got.reminders, f.reminders);
        EXPECT_EQ(got.memos, f.memos);
        EXPECT_EQ(got.approximated, f.approximated);
        ASSERT_EQ(got.items.size(), size_t(f.reminders + f.memos));
        for (const auto& item : got.items) {
            const CNote& n = *item.note;
            const auto& e = notes[next++];
            EXPECT_EQ(n.m_title, e.title);
            EXPECT_EQ(n.m_type, e.type) << e.title;
            EXPECT_EQ(n.m_recurrence, e.recurrence) << e.title;
            EXPECT_EQ(n.m_indexDay, e.indexDay) << e.title;
            EXPECT_EQ(n.m_priorDays, e.priorDays) << e.title;
            if (e.start) {
                EXPECT_EQ(Start(n), e.start) << e.title;
            }
        }
    }
    EXPECT_EQ(next, std::size(notes));
    Clock::ResetForTest();
}

TEST(IcalImport, WhatARuleCannotSayStaysInTheText) {
    ScopedZone zone("Europe/Berlin");
    const CICalMapping::Imported got = ImportAll(Fixture("limits.ics"));
    ASSERT_EQ(got.items.size(), 4u);
    EXPECT_NE(got.items[0].note->m_text.find("RRULE:FREQ=DAILY;COUNT=10"), std::string::npos);
    EXPECT_NE(got.items[1].note->m_text.find("EXDATE:20270119T200000"), std::string::npos);
    EXPECT_NE(got.items[2].note->m_text.find("BYSETPOS=2"), std::string::npos);
    EXPECT_EQ(got.items[3].note->m_text, "");
    const CICalMapping::Imported allday = ImportAll(Fixture("allday.ics"));
    EXPECT_EQ(allday.items[1].note->m_text, "Line one\r\nLine two, with a comma");
    EXPECT_EQ(allday.items[0].uid, "birthday-1@google.com");
}

TEST(IcalImport, SummarySaysWhatCameIn) {
    CICalMapping::Imported r;
    r.reminders = 12, r.memos = 3, r.approximated = 2;
    EXPECT_EQ(
        r.Summary(),
        "12 reminders and 3 memos imported; 2 recurrence rules approximated (see their text)");
    r.reminders = 1, r.memos = 1, r.approximated = 1;
    EXPECT_EQ(r.Summary(),
              "1 reminder and 1 memo imported; 1 recurrence rule approximated (see its text)");
    r.approximated = 0;
    EXPECT_EQ(r.Summary(), "1 reminder and 1 memo imported");
}

TEST(IcalImport, RefusesWhatIsNoCalendar) {
    CICalMapping::Imported out;
    std::string error;
    EXPECT_FALSE(CICalMapping::Import("hello", CNote(), out, &error));
    EXPECT_NE(error.find("no calendar"), std::string::npos);
    EXPECT_FALSE(
        CICalMapping::Import(std::string(CICalMapping::kMaxBytes + 1, 'x'), CNote(), out, &error));
}

} // namespace

// Alarms as RFC 9074 has them: the latest ACKNOWLEDGED is read, a snooze alarm moves the alarm
// (and is no alarm of its own for the prior days), one acknowledged after its time does not.
TEST(IcalImport, AcknowledgedAndSnoozedAlarms) {
    ScopedZone utc("UTC");
    Clock::SetForTest(COleDateTime(2026, 12, 8, 9, 5, 0));
    const std::string head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\n"
                             "UID:e\r\nDTSTART:20261208T090000Z\r\nSUMMARY:Pills\r\n"
                             "BEGIN:VALARM\r\nUID:a1\r\nACTION:DISPLAY\r\nTRIGGER:-PT0M\r\n"
                             "ACKNOWLEDGED:20261208T090200Z\r\nEND:VALARM\r\n";
    const std::string snooze = "BEGIN:VALARM\r\nACTION:DISPLAY\r\n"
                               "TRIGGER;VALUE=DATE-TIME:20261208T091700Z\r\n"
                               "RELATED-TO;RELTYPE=SNOOZE:a1\r\n";
    const std::string tail = "END:VEVENT\r\nEND:VCALENDAR\r\n";
    struct Case {
        std::string alarms;
        bool snoozed;
        const char* alarm;
        int64_t acknowledged; // seconds after kIcalNow
    };
    const Case cases[] = {
        {"", false, "2026-12-08 09:00:00", 75720}, // 12-08 09:02 UTC
        {snooze + "END:VALARM\r\n", true, "2026-12-08 09:17:00", 75720},
        {snooze + "ACKNOWLEDGED:20261208T091800Z\r\nEND:VALARM\r\n", false, "2026-12-08 09:00:00",
         76680},
    };
    for (const Case& c : cases) {
        CICalMapping::Imported in = ImportAll(head + c.alarms + tail);
        ASSERT_EQ(in.items.size(), 1u);
        EXPECT_EQ(in.items[0].acknowledged, kIcalNow + c.acknowledged) << c.alarms;
        EXPECT_EQ(in.items[0].snoozed, c.snoozed) << c.alarms;
        EXPECT_EQ(in.items[0].note->m_alarmTime.Format("%F %T"), c.alarm) << c.alarms;
        EXPECT_EQ(in.items[0].note->m_priorDays, 0);
    }
    Clock::ResetForTest();
}
