#include "core/storage/CDataFile.h"

#include "core/model/CDataDocument.h"
#include "core/storage/CArchiveError.h"
#include "core/storage/CArchiveReader.h"
#include "core/storage/CArchiveWriter.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int kStamp0701 = -19990701;
constexpr int kStamp0801 = -19990801;
constexpr int kStamp1001 = -19991001;

// Smallest stored sizes: room is reserved only for as many records as the bytes left can hold.
constexpr size_t kMinNoteBytes = 175; // the oldest format with empty strings
// Largest stored sizes apart from the text of the strings (a string prefix takes up to 7 bytes).
constexpr size_t kMaxAccountBytes = 4 * 7 + 4;
constexpr size_t kMaxCategoryBytes = 7 + 4 * 4;
constexpr size_t kMaxNoteBytes = 180 + 3 * 7;

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

size_t Reservable(const CArchiveReader& ar, int count, size_t minRecordBytes) {
    return std::min(static_cast<size_t>(count), ar.Remaining() / minRecordBytes);
}

// ---- the blocks, in file order: each one's writer beside its reader ----

// The stamps, the version and the general settings.
void WriteHeader(CArchiveWriter& ar, const CDataDocument& doc, const COleDateTime& saveTime) {
    const CSettings& t = doc.m_settings;
    ar.WriteTime(doc.m_firstRunDate);
    ar.WriteTime(saveTime);
    ar.WriteInt(doc.m_fileVersion);
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
}

// Returns the version; newer: it is none this version knows.
int ReadHeader(CArchiveReader& ar, CDataDocument& doc, bool* newer) {
    CSettings& t = doc.m_settings;
    doc.m_firstRunDate = ar.ReadTime();
    doc.m_lastSaveTime = ar.ReadTime();
    const int version = ar.ReadInt();
    doc.m_versionRead = version;
    if (newer)
        *newer = version != kStamp0701 && version != kStamp0801 && version != kStamp1001 &&
                 version != CDataDocument::kFileVersion;
    t.m_alarmSound = ar.ReadInt();
    t.m_wavePath = ar.ReadString();
    t.m_checkPeriod = CSettings::CheckPeriodWithin(ar.ReadInt());
    t.m_refreshPeriod = ar.ReadInt();
    t.m_reservedFlag = ar.ReadInt();
    t.m_logEnabled = ar.ReadInt();
    t.m_stopAfter = ar.ReadInt();
    t.m_showCountdownDefault = ar.ReadInt();
    t.m_showCategory = ar.ReadInt();
    t.m_useTrash = ar.ReadInt();
    t.m_managerFull = ar.ReadInt();
    return version;
}

// The default schemes' fonts and colours. The first files had one font and one text colour
// for all schemes: the font still comes first on its own for them.
void WriteSchemes(CArchiveWriter& ar, const CSettings& t) {
    ar.WriteFont(t.m_schemeFont[0]);
    for (const LOGFONT& f : t.m_schemeFont)
        ar.WriteFont(f);
    for (COLORREF c : t.m_schemeBack)
        ar.WriteInt(static_cast<int32_t>(c));
    ar.WriteInt(0);
    for (COLORREF c : t.m_schemeText)
        ar.WriteInt(static_cast<int32_t>(c));
    ar.WriteInt(0);
}

void ReadSchemes(CArchiveReader& ar, CSettings& t, int version) {
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
}

// The clock synchronisation, with the schemes' borders and the default scheme that came in
// the same version.
void WriteClock(CArchiveWriter& ar, const CSettings& t) {
    ar.WriteInt(t.m_clockSync);
    ar.WriteTime(t.m_lastClockSync);
    for (int b : t.m_schemeBorder)
        ar.WriteInt(b);
    ar.WriteInt(t.m_defaultScheme);
}

void ReadClock(CArchiveReader& ar, CSettings& t) {
    t.m_clockSync = ar.ReadInt();
    t.m_lastClockSync = ar.ReadTime();
    for (int& b : t.m_schemeBorder)
        b = ar.ReadInt();
    t.m_defaultScheme = ar.ReadInt();
}

void WriteMail(CArchiveWriter& ar, const CSettings& t) {
    ar.WriteInt(t.m_mailInterval);
    ar.WriteTime(t.m_lastMailCheck);
}

void ReadMail(CArchiveReader& ar, CSettings& t) {
    t.m_mailInterval = ar.ReadInt();
    t.m_lastMailCheck = ar.ReadTime();
}

void WriteWeather(CArchiveWriter& ar, const CSettings& t) {
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
}

// The report is taken only once it was read whole.
void ReadWeather(CArchiveReader& ar, CSettings& t) {
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
}

// The Note Manager's extra height and the mail accounts.
void WriteAccounts(CArchiveWriter& ar, const CDataDocument& doc) {
    ar.WriteInt(doc.m_settings.m_managerExtraHeight);
    ar.WriteInt(static_cast<int32_t>(doc.m_store.accounts().size()));
    for (const auto& a : doc.m_store.accounts()) {
        ar.WriteString(a->m_name);
        ar.WriteString(a->m_server);
        ar.WriteInt(a->m_type);
        ar.WriteString(a->m_userName);
        ar.WriteString(a->m_password);
    }
}

// Counts are trusted only as far as the records behind them are complete: a file cut short
// keeps every whole account, category and note before the cut.
void ReadAccounts(CArchiveReader& ar, CDataDocument& doc) {
    doc.m_settings.m_managerExtraHeight = ar.ReadInt();
    int accounts = ar.ReadCount();
    for (int i = 0; i < accounts; ++i) {
        auto a = std::make_unique<CMailAccount>();
        a->m_name = ar.ReadString();
        a->m_server = ar.ReadString();
        a->m_type = ar.ReadInt();
        a->m_userName = ar.ReadString();
        a->m_password = ar.ReadString();
        doc.m_store.AddAccount(std::move(a));
    }
}

// The built-in root is counted but never stored.
void WriteCategories(CArchiveWriter& ar, const CNoteStore& store) {
    ar.WriteInt(static_cast<int32_t>(store.categories().empty() ? 1 : store.categories().size()));
    for (size_t i = 1; i < store.categories().size(); ++i) {
        const CTreeNode* c = store.categories()[i].get();
        ar.WriteString(c->m_name);
        ar.WriteInt(c->m_id);
        ar.WriteInt(c->m_parentId);
        ar.WriteInt(c->m_childCount);
        ar.WriteInt(c->m_level);
    }
}

void ReadCategories(CArchiveReader& ar, CNoteStore& store) {
    int categories = ar.ReadCount();
    for (int i = 1; i < categories; ++i) {
        auto c = std::make_unique<CTreeNode>();
        c->m_name = ar.ReadString();
        c->m_id = ar.ReadInt();
        c->m_parentId = ar.ReadInt();
        c->m_childCount = ar.ReadInt();
        c->m_level = ar.ReadInt();
        store.AddCategory(std::move(c));
    }
}

void WriteHolidays(CArchiveWriter& ar, const CHolidayTable& holidays) {
    ar.WriteInt(holidays.count);
    for (int i = 0; i < holidays.count; ++i)
        ar.WriteInt(holidays.entries[i].enabled);
}

// Flags past the table are passed over; holidays the file has no flag for are on.
void ReadHolidays(CArchiveReader& ar, CHolidayTable& holidays) {
    int flags = ar.ReadCount();
    for (int i = 0; i < flags; ++i) {
        int flag = ar.ReadInt();
        if (i < holidays.count) holidays.entries[i].enabled = flag;
    }
    for (int i = flags; i < holidays.count; ++i)
        holidays.entries[i].enabled = 1;
}

void WriteNotes(CArchiveWriter& ar, const CNoteStore& store) {
    ar.WriteInt(static_cast<int32_t>(store.notes().size()));
    for (const auto& n : store.notes())
        CDataFile::WriteNote(ar, *n);
}

void ReadNotes(CArchiveReader& ar, CNoteStore& store, int version) {
    int notes = ar.ReadCount();
    store.ReserveNotes(store.notes().size() + Reservable(ar, notes, kMinNoteBytes));
    for (int i = 0; i < notes; ++i) {
        auto n = std::make_unique<CNote>();
        CDataFile::ReadNote(ar, *n, version);
        store.AddNote(std::move(n));
    }
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

std::string CDataFile::Write(const CDataDocument& doc, const COleDateTime& saveTime,
                             std::string reuse) {
    const CSettings& t = doc.m_settings;
    const CNoteStore& store = doc.m_store;
    // One allocation of the right size: growing a buffer of tens of megabytes by doubling
    // copies it over and over and touches fresh pages each time.
    size_t size = 4096 + t.m_wavePath.size();
    for (const auto& a : store.accounts())
        size += kMaxAccountBytes + a->m_name.size() + a->m_server.size() + a->m_userName.size() +
                a->m_password.size();
    for (const auto& c : store.categories())
        size += kMaxCategoryBytes + c->m_name.size();
    for (const auto& n : store.notes())
        size += kMaxNoteBytes + n->m_font.lfFaceName.size() + n->m_title.size() + n->m_text.size();
    CArchiveWriter ar(std::move(reuse));
    ar.Reserve(size);
    // Every block is written: the version stamped says they are all there.
    WriteHeader(ar, doc, saveTime);
    WriteSchemes(ar, t);
    WriteClock(ar, t);
    WriteMail(ar, t);
    WriteWeather(ar, t);
    WriteAccounts(ar, doc);
    WriteCategories(ar, store);
    WriteHolidays(ar, doc.m_holidays);
    WriteNotes(ar, store);
    return ar.Take();
}

bool CDataFile::Read(CDataDocument& doc, const void* data, size_t size, std::string* error,
                     bool* newer) {
    CArchiveReader ar(data, size);
    if (newer) *newer = false;
    CSettings& t = doc.m_settings;
    doc.m_clockSyncRead = doc.m_headerRead = doc.m_mailRead = doc.m_weatherRead = false;
    try {
        const int version = ReadHeader(ar, doc, newer);
        ReadSchemes(ar, t, version);
        // Stamps count down: a later version has a smaller one.
        if (version < kStamp0801) {
            ReadClock(ar, t);
            doc.m_clockSyncRead = true;
        }
        doc.m_headerRead = true;
        ReadMail(ar, t);
        doc.m_mailRead = true;
        if (version < kStamp1001) {
            ReadWeather(ar, t);
            doc.m_weatherRead = true;
        }
        ReadAccounts(ar, doc);
        ReadCategories(ar, doc.m_store);
        ReadHolidays(ar, doc.m_holidays);
        ReadNotes(ar, doc.m_store, version);
        if (newer && ar.Remaining() > 0) *newer = true;
    } catch (const CArchiveError& e) {
        if (error) *error = e.what();
        return false;
    }
    return true;
}
