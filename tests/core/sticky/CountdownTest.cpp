#include "core/model/CNote.h"
#include "core/sticky/CCountdown.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {
const COleDateTime kNow(2003, 5, 13, 10, 0, 0);
} // namespace

TEST(Countdown, Texts) {
    // Format bits 8 days, 4 hours, 2 minutes, 1 seconds; the seconds left; the text.
    const std::tuple<int, double, const char*> cases[] = {
        {15, 2 * 86400 + 3 * 3600 + 15 * 60 + 20, " 2 days  03:15:20"},
        {14, 2 * 86400 + 3 * 3600 + 15 * 60 + 20, " 2 days  3 Hours 15 Mins"},
        {8, 20 * 3600, " < 1 day"},
        {12, 20 * 3600 + 300, " 20 Hours"},
        {4, 40 * 60, " < 1 hour"},
        {2, 30, " < 1 minute"},
        {6, 3660, " 1 Hour 1 Min"},
        {1, 3600, " 3600 Secs"},
        {7, 86400 + 2 * 3600 + 3 * 60 + 4, " 26:03:04"},
        {15, 0, " 00:00:00"},
        {15, -1, " 00:00:00"}, // truncated toward zero for a whole second
        {15, -1.01, " Expired"},
        {8, 1.5 * 86400, " 1 day "},
        {12, 30 * 3600, " 1 day  6 Hours"},
        {3, 2 * 3600, " 120 Mins 0 Secs"},
        {14, 2 * 86400 + 300, " 2 days  0 Hour 5 Mins"},
        {1, 1, " 1 Secs"},
    };
    for (const auto& [format, seconds, text] : cases)
        EXPECT_EQ(CCountdown::Text(kNow + COleDateTimeSpan(seconds / 86400), 0, format, kNow), text)
            << format << " " << seconds;
    // Prior days: the alarm rang early, the line counts to the occurrence.
    EXPECT_EQ(CCountdown::Text(kNow - COleDateTimeSpan(0, 1, 0, 0), 3, 15, kNow),
              " 2 days  23:00:00");

    // Beyond what 32 bits of seconds hold, and a damaged time.
    const COleDateTime midnight(2003, 5, 13, 0, 0, 0), far(2203, 5, 13, 0, 0, 0);
    EXPECT_EQ(CCountdown::Text(far, 0, 8, midnight), " 73048 days ");
    EXPECT_EQ(CCountdown::Text(far, 0, 1, midnight), " 6311347200 Secs");
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_EQ(CCountdown::Text(invalid, 0, 15, kNow), " Expired");
}

TEST(Countdown, OnlyTimedNotesShowIt) {
    CNote note;
    note.m_type = CNote::OneTime;
    note.m_alarmTime = kNow + COleDateTimeSpan(0, 1, 0, 0);
    note.m_showCountdown = 0;
    EXPECT_EQ(CCountdown::ForNote(note, kNow), "");
    note.m_showCountdown = 1;
    EXPECT_EQ(CCountdown::ForNote(note, kNow), " 01:00:00");
    note.m_type = CNote::Memo;
    EXPECT_EQ(CCountdown::ForNote(note, kNow), "");
}
