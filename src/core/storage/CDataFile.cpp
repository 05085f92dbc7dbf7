#include "storage/CDataFile.h"

#include "app/CTrayCore.h"
#include "app/Globals.h"
#include "platform/Clock.h"
#include "storage/CArchiveError.h"
#include "storage/CArchiveReader.h"
#include "storage/CArchiveWriter.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int kStamp0701 = -19990701;
constexpr int kStamp0801 = -19990801;
constexpr int kStamp1001 = -19991001;

// Smallest stored sizes, used to refuse counts that cannot fit in the bytes left.
constexpr size_t kMinAccountBytes = 1 + 1 + 4 + 1 + 1;
constexpr size_t kMinCategoryBytes = 1 + 4 * 4;
constexpr size_t kMinNoteBytes = 175; // the oldest format with empty strings

void WriteRect(CArchiveWriter& ar, const RECT& r) {
    ar.WriteInt(r.top);
    ar.WriteInt(r.left);
    ar.WriteInt(r.bottom);
    ar.WriteInt(r.right);
}

RECT ReadRect(CArchiveReader& ar) {
    RECT r;
    r.top = ar.ReadInt();
    r.left = ar.ReadInt();
    r.bottom = ar.ReadInt();
    r.right = ar.ReadInt();
    return r;
}

// Milliseconds from now until `when`; 30000 when that lies in the past.
int CountdownTo(const COleDateTime& when, const COleDateTime& now) {
    long long ms = static_cast<long long>(COleDateTime::WholeSeconds(when - now)) * 1000;
    if (ms < 0) return 30000;
    return ms > 2147483647LL ? 2147483647 : static_cast<int>(ms);
}

} // namespace

void CDataFile::WriteNote(CArchiveWriter& ar, const CNote& n) {
    ar.WriteInt(n.m_type);
    ar.WriteInt(n.m_category);
    ar.WriteTime(n.m_startTime);
    ar.WriteTime(n.m_spareTime);
    ar.WriteTime(n.m_alarmTime);
    ar.WriteTime(n.m_baseTime);
    ar.WriteTime(n.m_nextTime);
    ar.WriteInt(n.m_priorDays);
    ar.WriteInt(n.m_indexDay);
    ar.WriteInt(n.m_recurrence);
    ar.WriteInt(n.m_dueSoon);
    ar.WriteInt(static_cast<int32_t>(n.m_backColor));
    ar.WriteInt(static_cast<int32_t>(n.m_textColor));
    ar.WriteInt(n.m_showCountdown);
    ar.WriteFont(n.m_font);
    ar.WriteString(n.m_title);
    ar.WriteString(n.m_text);
    ar.WriteInt(n.m_topMost);
    WriteRect(ar, n.m_windowRect);
    WriteRect(ar, n.m_firstRect);
    ar.WriteInt(n.m_posted);
    ar.WriteInt(n.m_rectKnown);
    ar.WriteInt(n.m_spareFlag);
    ar.WriteInt(n.m_countdownFormat);
    ar.WriteInt(n.m_borderStyle);
}

void CDataFile::ReadNote(CArchiveReader& ar, CNote& n, int version) {
    n.m_type = ar.ReadInt();
    n.m_category = ar.ReadInt();
    n.m_startTime = ar.ReadTime();
    n.m_spareTime = ar.ReadTime();
    n.m_alarmTime = ar.ReadTime();
    n.m_baseTime = ar.ReadTime();
    n.m_nextTime = ar.ReadTime();
    n.m_priorDays = ar.ReadInt();
    n.m_indexDay = ar.ReadInt();
    n.m_recurrence = ar.ReadInt();
    n.m_dueSoon = ar.ReadInt();
    if (n.m_type == CNote::Memo) n.m_dueSoon = 0;
    n.m_backColor = static_cast<COLORREF>(ar.ReadInt());
    n.m_textColor = static_cast<COLORREF>(ar.ReadInt());
    n.m_showCountdown = ar.ReadInt();
    n.m_font = ar.ReadFont();
    n.m_title = ar.ReadString();
    n.m_text = ar.ReadString();
    n.m_topMost = ar.ReadInt();
    n.m_windowRect = ReadRect(ar);
    n.m_firstRect = ReadRect(ar);
    n.m_posted = ar.ReadInt();
    n.m_rectKnown = ar.ReadInt();
    n.m_spareFlag = ar.ReadInt();
    n.m_countdownFormat = version == kStamp0701 ? 15 : ar.ReadInt();
    if (version < kStamp0801) n.m_borderStyle = ar.ReadInt();
}

std::string CDataFile::Write(const CTrayCore& t, const COleDateTime& saveTime) {
    CArchiveWriter ar;
    ar.Reserve(4096 + t.m_notes.size() * 300);
    ar.WriteTime(g_firstRunDate);
    ar.WriteTime(saveTime);
    ar.WriteInt(t.m_fileVersion);
    ar.WriteInt(t.m_alarmSound);
    ar.WriteString(t.m_wavePath);
    ar.WriteInt(t.m_checkPeriod);
    ar.WriteInt(t.m_refreshPeriod);
    ar.WriteInt(t.m_reservedFlag);
    ar.WriteInt(t.m_logEnabled);
    ar.WriteInt(t.m_stopAfter);
    ar.WriteInt(t.m_showCountdownDefault);
    ar.WriteInt(t.m_showCategory);
    ar.WriteInt(t.m_useTrash);
    ar.WriteInt(t.m_managerFull);
    ar.WriteFont(t.m_schemeFont[0]); // the oldest readers take this one for every scheme
    for (const LOGFONT& f : t.m_schemeFont)
        ar.WriteFont(f);
    for (COLORREF c : t.m_schemeBack)
        ar.WriteInt(static_cast<int32_t>(c));
    ar.WriteInt(0);
    for (COLORREF c : t.m_schemeText)
        ar.WriteInt(static_cast<int32_t>(c));
    ar.WriteInt(0);
    ar.WriteInt(t.m_clockSync);
    ar.WriteTime(t.m_lastClockSync);
    for (int b : t.m_schemeBorder)
        ar.WriteInt(b);
    ar.WriteInt(t.m_defaultScheme);
    ar.WriteInt(t.m_mailInterval);
    ar.WriteTime(t.m_lastMailCheck);
    ar.WriteInt(t.m_weatherEnabled);
    ar.WriteTime(t.m_lastWeatherCheck);
    const CWeather& w = t.m_weather;
    ar.WriteString(w.m_place);
    ar.WriteInt(w.m_fahrenheit);
    ar.WriteString(w.m_state);
    ar.WriteString(w.m_city);
    ar.WriteString(w.m_country);
    ar.WriteString(w.m_zipCode);
    for (int d = 0; d < CWeather::kDays; ++d) {
        ar.WriteString(w.m_dayName[d]);
        ar.WriteString(w.m_condition[d]);
        ar.WriteInt(w.m_high[d]);
        ar.WriteInt(w.m_low[d]);
        ar.WriteInt(w.m_icon[d]);
    }
    ar.WriteInt(t.m_managerExtraHeight);
    ar.WriteInt(static_cast<int32_t>(t.m_mailAccounts.size()));
    for (const CMailAccount* a : t.m_mailAccounts) {
        ar.WriteString(a->m_name);
        ar.WriteString(a->m_server);
        ar.WriteInt(a->m_type);
        ar.WriteString(a->m_userName);
        ar.WriteString(a->m_password);
    }
    // The built-in root is counted but never stored.
    ar.WriteInt(static_cast<int32_t>(t.m_categories.empty() ? 1 : t.m_categories.size()));
    for (size_t i = 1; i < t.m_categories.size(); ++i) {
        const CTreeNode* c = t.m_categories[i];
        ar.WriteString(c->m_name);
        ar.WriteInt(c->m_id);
        ar.WriteInt(c->m_parentId);
        ar.WriteInt(c->m_childCount);
        ar.WriteInt(c->m_level);
    }
    ar.WriteInt(t.m_holidays.count);
    for (int i = 0; i < t.m_holidays.count; ++i)
        ar.WriteInt(t.m_holidays.entries[i].enabled);
    ar.WriteInt(static_cast<int32_t>(t.m_notes.size()));
    for (const CNote* n : t.m_notes)
        WriteNote(ar, *n);
    return ar.Take();
}

bool CDataFile::Read(CTrayCore& t, const void* data, size_t size, std::string* error) {
    CArchiveReader ar(data, size);
    COleDateTime now = Clock::Now();
    try {
        g_firstRunDate = ar.ReadTime();
        t.m_lastSaveTime = ar.ReadTime();
        int version = ar.ReadInt();
        g_fileVersionRead = version;
        t.m_alarmSound = ar.ReadInt();
        t.m_wavePath = ar.ReadString();
        t.m_checkPeriod = ar.ReadInt();
        t.m_refreshPeriod = ar.ReadInt();
        t.m_reservedFlag = ar.ReadInt();
        t.m_logEnabled = ar.ReadInt();
        t.m_stopAfter = ar.ReadInt();
        t.m_showCountdownDefault = ar.ReadInt();
        t.m_showCategory = ar.ReadInt();
        t.m_useTrash = ar.ReadInt();
        t.m_managerFull = ar.ReadInt();
        LOGFONT single = ar.ReadFont();
        if (version == kStamp0701) {
            for (LOGFONT& f : t.m_schemeFont)
                f = single;
        } else {
            for (LOGFONT& f : t.m_schemeFont)
                f = ar.ReadFont();
        }
        for (COLORREF& c : t.m_schemeBack)
            c = static_cast<COLORREF>(ar.ReadInt());
        ar.ReadInt();
        for (COLORREF& c : t.m_schemeText)
            c = static_cast<COLORREF>(ar.ReadInt());
        int oldText = ar.ReadInt();
        if (version == kStamp0701)
            for (COLORREF& c : t.m_schemeText)
                c = static_cast<COLORREF>(oldText);
        if (version < kStamp0801) {
            t.m_clockSync = ar.ReadInt();
            t.m_lastClockSync = ar.ReadTime();
            for (int& b : t.m_schemeBorder)
                b = ar.ReadInt();
            t.m_defaultScheme = ar.ReadInt();
            if (g_isNT == 1 && t.m_clockSync == 1) t.m_clockSync = t.CanSetClock() ? 1 : 0;
        }
        if (t.m_clockSync == 1) {
            // A last sync in the future (a clock set back, a damaged file) counts as just now:
            // the next one is at most a day away, and the product cannot overflow.
            const int minutes = std::max(COleDateTime::WholeMinutes(now - t.m_lastClockSync), 0);
            t.m_clockSyncCountdown = minutes >= 1440 ? 30000 : (1440 - minutes) * 60000;
        } else {
            t.m_clockSyncCountdown = -1;
        }
        t.m_mailInterval = ar.ReadInt();
        t.m_lastMailCheck = ar.ReadTime();
        if (t.m_mailInterval > 0)
            t.m_mailCountdown =
                CountdownTo(t.m_lastMailCheck + COleDateTimeSpan(0, 0, t.m_mailInterval, 0), now);
        if (version < kStamp1001) {
            t.m_weatherEnabled = ar.ReadInt();
            t.m_lastWeatherCheck = ar.ReadTime();
            CWeather w;
            w.m_place = ar.ReadString();
            w.m_fahrenheit = ar.ReadInt();
            w.m_state = ar.ReadString();
            w.m_city = ar.ReadString();
            w.m_country = ar.ReadString();
            w.m_zipCode = ar.ReadString();
            for (int d = 0; d < CWeather::kDays; ++d) {
                w.m_dayName[d] = ar.ReadString();
                w.m_condition[d] = ar.ReadString();
                w.m_high[d] = ar.ReadInt();
                w.m_low[d] = ar.ReadInt();
                w.m_icon[d] = ar.ReadInt();
            }
            t.m_weather = w;
            t.m_weatherCountdown =
                CountdownTo(t.m_lastWeatherCheck + COleDateTimeSpan(0, 2, 0, 0), now);
        }
        t.m_managerExtraHeight = ar.ReadInt();

        int accounts = ar.ReadCount(kMinAccountBytes);
        for (int i = 0; i < accounts; ++i) {
            auto a = std::make_unique<CMailAccount>();
            a->m_name = ar.ReadString();
            a->m_server = ar.ReadString();
            a->m_type = ar.ReadInt();
            a->m_userName = ar.ReadString();
            a->m_password = ar.ReadString();
            t.m_mailAccounts.push_back(a.release());
        }

        int categories = ar.ReadInt();
        if (categories < 0 || size_t(categories) > ar.Remaining() / kMinCategoryBytes + 1)
            throw CArchiveError("category count larger than the file");
        for (int i = 1; i < categories; ++i) {
            auto c = std::make_unique<CTreeNode>();
            c->m_name = ar.ReadString();
            c->m_id = ar.ReadInt();
            c->m_parentId = ar.ReadInt();
            c->m_childCount = ar.ReadInt();
            c->m_level = ar.ReadInt();
            t.m_categories.push_back(c.release());
        }

        int flags = ar.ReadCount(4);
        for (int i = 0; i < flags; ++i) {
            int flag = ar.ReadInt();
            if (i < t.m_holidays.count) t.m_holidays.entries[i].enabled = flag;
        }
        for (int i = flags; i < t.m_holidays.count; ++i)
            t.m_holidays.entries[i].enabled = 1;

        int notes = ar.ReadCount(kMinNoteBytes);
        t.m_notes.reserve(t.m_notes.size() + notes);
        for (int i = 0; i < notes; ++i) {
            auto n = std::make_unique<CNote>();
            ReadNote(ar, *n, version);
            t.m_notes.push_back(n.release());
        }
    } catch (const CArchiveError& e) {
        if (error) *error = e.what();
        return false;
    }
    return true;
}
