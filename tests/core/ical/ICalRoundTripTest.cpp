// Every field of random notes survives an export and an import.
#include "core/ical/CICalMapping.h"
#include "support/IcalTestSupport.h"

#include "core/platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// Letters of every width, the characters iCalendar escapes, and line breaks as notes hold them.
const std::vector<std::string> kPieces = {"a",  "Z",    "7", " ",  ",", ";", "\\", ":", "\"",
                                          "\t", "\r\n", "é", "日", "📌", "%", "/",  "=", "-"};

std::string RandomText(std::mt19937& rng, size_t length) {
    std::uniform_int_distribution<size_t> pick(0, kPieces.size() - 1);
    std::string s;
    while (s.size() < length)
        s += kPieces[pick(rng)];
    return s;
}

CNote RandomNote(std::mt19937& rng, int index) {
    auto in = [&](long long lo, long long hi) {
        return std::uniform_int_distribution<long long>(lo, hi)(rng);
    };
    CNote n;
    n.m_type = int(CNote::Memo + in(0, 2));
    n.m_title = RandomText(rng, size_t(in(0, 40)));
    n.m_text = RandomText(rng, index % 1000 == 0 ? 10000 : size_t(in(0, 300)));
    n.m_startTime = COleDateTime(int(in(1971, 2099)), int(in(1, 12)), int(in(1, 28)),
                                 int(in(0, 23)), int(in(0, 59)), int(in(0, 59)));
    if (n.m_type == CNote::Every) {
        const int unit = int(in(0, 7));
        n.m_recurrence = unit * 1000 + (unit >= CNote::Workday ? 0 : int(in(1, 999)));
        if ((unit == CNote::Month || unit == CNote::Year) && in(0, 2) == 0)
            n.m_indexDay =
                int(10000 + (unit == CNote::Year ? in(1, 12) * 100 : 0) + in(1, 7) * 10 + in(1, 5));
        n.m_priorDays = unit >= CNote::Day && unit <= CNote::Year ? int(in(0, 24)) : 0;
        if (in(0, 9) == 0) n.m_startTime.SetDateTime(2024, 2, 29, 10, 0, 0);
        n.m_baseTime = n.m_startTime;
    } else if (n.m_type == CNote::OneTime) {
        n.m_priorDays = int(in(0, 24));
    }
    // A time the spring change skips in Berlin stays the time the user typed.
    if (index == 1) n.m_startTime.SetDateTime(2027, 3, 28, 2, 30, 0);
    // A memo's times are all its making time.
    n.m_nextTime = n.m_alarmTime = n.m_baseTime = n.m_startTime;
    n.m_backColor = COLORREF(in(0, 0xFFFFFF));
    n.m_textColor = COLORREF(in(0, 0xFFFFFFFF));
    n.m_font.lfHeight = int32_t(in(INT32_MIN, INT32_MAX));
    n.m_font.lfWeight = int32_t(in(0, 1000));
    n.m_font.lfItalic = uint8_t(in(0, 255));
    n.m_font.lfPitchAndFamily = uint8_t(in(0, 255));
    n.m_font.lfFaceName = RandomText(rng, size_t(in(0, 8)));
    n.m_borderStyle = int(in(0, 2));
    n.m_windowRect = RECT{int32_t(in(-5000, 5000)), int32_t(in(INT32_MIN, INT32_MAX)), 7, 9};
    n.m_firstRect = RECT{1, 2, int32_t(in(-1, 3000)), int32_t(in(-1, 3000))};
    n.m_posted = int(in(0, 1));
    n.m_rectKnown = int(in(0, 1));
    n.m_topMost = int(in(0, 1));
    n.m_showCountdown = int(in(0, 1));
    n.m_countdownFormat = int(in(0, 15));
    n.m_spareFlag = int(in(INT32_MIN, INT32_MAX));
    n.m_spareTime = COleDateTime(double(in(-600000, 2900000)) / 7.0);
    return n;
}

void ExpectSame(const CNote& a, const CNote& b, int i) {
    SCOPED_TRACE("note " + std::to_string(i));
    EXPECT_EQ(a.m_type, b.m_type);
    EXPECT_EQ(a.m_title, b.m_title);
    EXPECT_EQ(a.m_text, b.m_text);
    EXPECT_EQ(a.m_startTime, b.m_startTime);
    EXPECT_EQ(a.m_recurrence, b.m_recurrence);
    EXPECT_EQ(a.m_indexDay, b.m_indexDay);
    EXPECT_EQ(a.m_priorDays, b.m_priorDays);
    EXPECT_EQ(a.m_nextTime, b.m_nextTime);
    EXPECT_EQ(a.m_alarmTime, b.m_alarmTime);
    EXPECT_EQ(a.m_backColor, b.m_backColor);
    EXPECT_EQ(a.m_textColor, b.m_textColor);
    EXPECT_EQ(a.m_font, b.m_font);
    EXPECT_EQ(a.m_borderStyle, b.m_borderStyle);
    EXPECT_EQ(a.m_windowRect, b.m_windowRect);
    EXPECT_EQ(a.m_firstRect, b.m_firstRect);
    EXPECT_EQ(a.m_posted, b.m_posted);
    EXPECT_EQ(a.m_rectKnown, b.m_rectKnown);
    EXPECT_EQ(a.m_topMost, b.m_topMost);
    EXPECT_EQ(a.m_showCountdown, b.m_showCountdown);
    EXPECT_EQ(a.m_countdownFormat, b.m_countdownFormat);
    EXPECT_EQ(a.m_spareFlag, b.m_spareFlag);
    EXPECT_EQ(a.m_spareTime, b.m_spareTime);
}

TEST(IcalRoundTrip, EveryFieldOfTenThousandRandomNotesComesBack) {
    ScopedZone zone("Europe/Berlin");
    Clock::SetForTest(COleDateTime(2026, 12, 7, 12, 0, 0));
    std::mt19937 rng(3131);
    std::vector<CNote> notes;
    std::vector<CICalMapping::ExportItem> items;
    notes.reserve(10000);
    for (int i = 0; i < 10000; ++i) {
        notes.push_back(RandomNote(rng, i));
        if (notes.back().m_type != CNote::Memo) notes.back().Recompute();
    }
    for (int i = 0; i < 10000; ++i) {
        CICalMapping::ExportItem item;
        item.note = &notes[size_t(i)];
        item.identity.uid = "uid-" + std::to_string(i);
        item.identity.sequence = i % 7;
        if (i % 3 == 0) item.categoryPath = {"Work", RandomText(rng, 6)};
        items.push_back(item);
    }
    const CICalMapping::Imported back = ImportAll(CICalMapping::Export(items, kIcalNow));
    Clock::ResetForTest();
    ASSERT_EQ(back.items.size(), notes.size());
    EXPECT_EQ(back.approximated, 0);
    for (size_t i = 0; i < notes.size(); ++i) {
        ExpectSame(notes[i], *back.items[i].note, int(i));
        EXPECT_EQ(back.items[i].uid, items[i].identity.uid);
        EXPECT_EQ(back.items[i].sequence, items[i].identity.sequence);
        EXPECT_EQ(back.items[i].categoryPath, items[i].categoryPath);
        if (HasFailure()) break;
    }
}

// python3-icalendar and a real CalDAV server (Radicale) take every exported item.
TEST(IcalRoundTrip, IndependentParsersTakeEveryItem) {
    ScopedZone zone("Europe/Berlin");
    std::mt19937 rng(77);
    std::vector<CNote> notes;
    // Item by item is slow on a CalDAV server (a write each): a sample of every kind.
    for (int i = 0; i < 60; ++i)
        notes.push_back(RandomNote(rng, i % 30 == 0 ? 0 : i));
    std::vector<CICalMapping::ExportItem> items;
    for (size_t i = 0; i < notes.size(); ++i) {
        CICalMapping::ExportItem item;
        item.note = &notes[i];
        item.identity.uid = "check-" + std::to_string(i);
        item.categoryPath = {"A, b; c", "d\\e"};
        items.push_back(item);
    }
    const std::string path = std::string(JOTTERLY_BINARY_DIR) + "/test-output/ical-check.ics";
    std::system(("mkdir -p " + std::string(JOTTERLY_BINARY_DIR) + "/test-output").c_str());
    std::ofstream(path, std::ios::binary) << CICalMapping::Export(items, kIcalNow);
    const std::string command = "/usr/bin/python3 " + std::string(JOTTERLY_SOURCE_DIR) +
                                "/tests/tools/ical_check.py " + path;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace
