#pragma once

#include "core/ical/CICalMapping.h"
#include "core/model/CNote.h"
#include "support/ScopedZone.h"

#include <gtest/gtest.h>

#include <string>

inline CNote IcalTestNote(int type) {
    CNote note;
    note.m_type = type;
    note.m_title = "Dentist";
    note.m_startTime = COleDateTime(2026, 3, 2, 9, 30, 0);
    return note;
}

// 2026-12-07 12:00 UTC: a fixed DTSTAMP keeps the files comparable.
constexpr int64_t kIcalNow = 1796644800;

inline std::string ExportOne(const CNote& note, const std::string& zone = {}) {
    CICalMapping::ExportItem item;
    item.note = &note;
    item.identity.uid = "test-uid@jotterly";
    return CICalMapping::Export({item}, kIcalNow, zone);
}

inline CICalMapping::Imported ImportAll(const std::string& calendar) {
    CICalMapping::Imported out;
    std::string error;
    EXPECT_TRUE(CICalMapping::Import(calendar, CNote(), out, &error)) << error;
    return out;
}

inline CNote ImportOne(const std::string& calendar) {
    CICalMapping::Imported out = ImportAll(calendar);
    EXPECT_EQ(out.items.size(), 1u) << calendar;
    return out.items.empty() ? CNote() : *out.items.front().note;
}
