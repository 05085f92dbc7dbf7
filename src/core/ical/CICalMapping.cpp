#include "ical/CICalMapping.h"

#include "ical/CICalRule.h"
#include "storage/TextCodec.h"

#include <libical/ical.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <strings.h>
#include <unistd.h>

namespace {

// ---- small helpers ------------------------------------------------------------------------

// Line breaks are CR LF in a note and LF in a calendar's text values.
std::string ToCalendarText(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
    return out;
}

std::string FromCalendarText(const char* s) {
    std::string out;
    if (!s) return out;
    const size_t n = std::strlen(s);
    std::string text =
        TextCodec::IsValidUtf8(s, n) ? std::string(s, n) : TextCodec::Cp1252ToUtf8(s, n);
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n') out += '\r';
        out += text[i];
    }
    return out;
}

// Names and face names in X- values: everything but plain letters, digits and a few marks
// as %XX, so no calendar program's escaping can change them.
std::string PercentEncode(const std::string& s) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '.' || c == '_' || c == '-') {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string PercentDecode(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit((unsigned char)s[i + 1]) &&
            std::isxdigit((unsigned char)s[i + 2])) {
            out += char(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Blanks at either end of a text value, which readers drop: "<lead>,<tail>" percent-encoded,
// or empty when there are none.
std::string EdgeBlanks(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return s.empty() ? "" : PercentEncode(s) + ",";
    const size_t last = s.find_last_not_of(" \t");
    if (first == 0 && last + 1 == s.size()) return {};
    return PercentEncode(s.substr(0, first)) + "," + PercentEncode(s.substr(last + 1));
}

void RestoreEdges(std::string& s, const std::string& encoded) {
    const size_t comma = encoded.find(',');
    if (comma == std::string::npos) return;
    const std::string lead = PercentDecode(encoded.substr(0, comma));
    const std::string tail = PercentDecode(encoded.substr(comma + 1));
    if (lead.size() + tail.size() > 8192 || lead.find_first_not_of(" \t") != std::string::npos ||
        tail.find_first_not_of(" \t") != std::string::npos)
        return;
    const size_t first = s.find_first_not_of(" \t");
    const std::string core =
        first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(" \t") - first + 1);
    s = lead + core + tail;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = s.find(sep, from);
        parts.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

// Whole numbers of a comma list, each within [lo, hi]; false when any is not.
bool Numbers(const std::string& s, std::vector<long long>& out, size_t n, long long lo,
             long long hi) {
    out.clear();
    for (const std::string& part : Split(s, ',')) {
        if (part.empty() || part.size() > 20) return false;
        char* end = nullptr;
        errno = 0;
        const long long v = std::strtoll(part.c_str(), &end, 10);
        if (*end || errno || v < lo || v > hi) return false;
        out.push_back(v);
    }
    return out.size() == n;
}

icaltimetype LocalTime(const COleDateTime& t, icaltimezone* zone) {
    icaltimetype it = icaltime_null_time();
    COleDateTime::Parts p;
    t.GetParts(p);
    it.year = p.year;
    it.month = p.month;
    it.day = p.day;
    it.hour = p.hour;
    it.minute = p.minute;
    it.second = p.second;
    it.is_date = 0;
    if (zone) it = icaltime_set_timezone(&it, zone);
    return it;
}

icaltimetype UtcTime(int64_t seconds) {
    return icaltime_from_timet_with_zone(time_t(seconds), 0, icaltimezone_get_utc_timezone());
}

// A property's time with its zone: a zone this computer knows by the TZID's name is taken from
// the system (loaded once), only others from the file's VTIMEZONE.
icaltimetype ZonedTime(icalcomponent* comp, icalproperty_kind kind, const std::string& localZone) {
    icalproperty* p = icalcomponent_get_first_property(comp, kind);
    if (!p) return icaltime_null_time();
    icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
    const char* name = tzid ? icalparameter_get_tzid(tzid) : nullptr;
    if (name && *name) {
        icaltimetype t =
            kind == ICAL_DUE_PROPERTY ? icalproperty_get_due(p) : icalproperty_get_dtstart(p);
        // This computer's own zone: the wall-clock time as it stands, also inside a skipped hour.
        if (localZone == name) return t;
        if (icaltimezone* zone = icaltimezone_get_builtin_timezone(name)) {
            if (!t.is_date) t = icaltime_set_timezone(&t, zone);
            return t;
        }
    }
    return kind == ICAL_DUE_PROPERTY ? icalcomponent_get_due(comp)
                                     : icalcomponent_get_dtstart(comp);
}

// A calendar time as local wall-clock time: floating times and dates as they stand, UTC and
// zoned times converted to this computer's zone.
bool ToLocal(icaltimetype t, COleDateTime& out) {
    if (icaltime_is_null_time(t) || t.year < 100 || t.year > 9999) return false;
    // Zone rules are only followed within these years: a zone the file describes is expanded
    // from its first rule on, which for far years costs more than any note is worth.
    const bool zoned = !t.is_date && (t.zone || icaltime_is_utc(t));
    if (!zoned || t.year < 1900 || t.year > 2200) {
        COleDateTime v(t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute,
                       t.is_date ? 0 : t.second);
        if (!v.IsValid()) return false;
        out = v;
        return true;
    }
    const time_t seconds =
        icaltime_as_timet_with_zone(t, icaltime_is_utc(t) ? icaltimezone_get_utc_timezone()
                                                          : const_cast<icaltimezone*>(t.zone));
    struct tm tm {};
    if (!localtime_r(&seconds, &tm)) return false;
    COleDateTime v(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    if (!v.IsValid()) return false;
    out = v;
    return true;
}

void AddX(icalcomponent* comp, const char* name, const std::string& value) {
    icalproperty* p = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(comp, p);
}

std::string GetX(icalcomponent* comp, const char* name) {
    for (icalproperty* p = icalcomponent_get_first_property(comp, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(comp, ICAL_X_PROPERTY)) {
        const char* n = icalproperty_get_x_name(p);
        if (n && strcasecmp(n, name) == 0) {
            const char* v = icalproperty_get_x(p);
            return v ? v : "";
        }
    }
    return {};
}

std::string Join(const std::vector<long long>& v) {
    std::string s;
    for (size_t i = 0; i < v.size(); ++i)
        s += (i ? "," : "") + std::to_string(v[i]);
    return s;
}

// ---- the X-JOTTERLY properties --------------------------------------------------------------

void WriteLook(icalcomponent* comp, const CNote& n) {
    const LOGFONT& f = n.m_font;
    AddX(comp, "X-JOTTERLY-COLORS", Join({n.m_backColor, n.m_textColor}));
    AddX(comp, "X-JOTTERLY-FONT",
         Join({f.lfHeight, f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight, f.lfItalic,
               f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision, f.lfClipPrecision,
               f.lfQuality, f.lfPitchAndFamily}) +
             "," + PercentEncode(f.lfFaceName));
    AddX(comp, "X-JOTTERLY-BORDER", std::to_string(n.m_borderStyle));
    const RECT& w = n.m_windowRect;
    const RECT& r = n.m_firstRect;
    AddX(comp, "X-JOTTERLY-WINDOW",
         Join({w.left, w.top, w.right, w.bottom, r.left, r.top, r.right, r.bottom, n.m_posted,
               n.m_rectKnown, n.m_topMost}));
    AddX(comp, "X-JOTTERLY-COUNTDOWN", Join({n.m_showCountdown, n.m_countdownFormat}));
    char spare[64];
    std::snprintf(spare, sizeof spare, "%d,%d,%a", n.m_spareFlag, int(n.m_spareTime.m_status),
                  n.m_spareTime.m_dt);
    AddX(comp, "X-JOTTERLY-SPARE", spare);
}

constexpr long long kIntMin = -2147483648LL, kIntMax = 2147483647LL;

// Each property is taken only when it is whole and sound; a damaged one leaves the
// prototype's values.
void ReadLook(icalcomponent* comp, CNote& n) {
    std::vector<long long> v;
    if (Numbers(GetX(comp, "X-JOTTERLY-COLORS"), v, 2, 0, 0xFFFFFFFFLL)) {
        n.m_backColor = COLORREF(v[0]);
        n.m_textColor = COLORREF(v[1]);
    }
    const std::string font = GetX(comp, "X-JOTTERLY-FONT");
    const size_t lastComma = font.rfind(',');
    if (lastComma != std::string::npos &&
        Numbers(font.substr(0, lastComma), v, 13, kIntMin, kIntMax) &&
        std::all_of(v.begin() + 5, v.end(), [](long long x) { return x >= 0 && x <= 255; })) {
        LOGFONT& f = n.m_font;
        f.lfHeight = int32_t(v[0]), f.lfWidth = int32_t(v[1]), f.lfEscapement = int32_t(v[2]);
        f.lfOrientation = int32_t(v[3]), f.lfWeight = int32_t(v[4]);
        f.lfItalic = uint8_t(v[5]), f.lfUnderline = uint8_t(v[6]), f.lfStrikeOut = uint8_t(v[7]);
        f.lfCharSet = uint8_t(v[8]), f.lfOutPrecision = uint8_t(v[9]);
        f.lfClipPrecision = uint8_t(v[10]), f.lfQuality = uint8_t(v[11]);
        f.lfPitchAndFamily = uint8_t(v[12]);
        f.lfFaceName = TextCodec::CutToCharacters(
            FromCalendarText(PercentDecode(font.substr(lastComma + 1)).c_str()), 31);
    }
    if (Numbers(GetX(comp, "X-JOTTERLY-BORDER"), v, 1, kIntMin, kIntMax))
        n.m_borderStyle = int(v[0]);
    if (Numbers(GetX(comp, "X-JOTTERLY-WINDOW"), v, 11, kIntMin, kIntMax)) {
        n.m_windowRect = RECT{int32_t(v[0]), int32_t(v[1]), int32_t(v[2]), int32_t(v[3])};
        n.m_firstRect = RECT{int32_t(v[4]), int32_t(v[5]), int32_t(v[6]), int32_t(v[7])};
        n.m_posted = int(v[8]), n.m_rectKnown = int(v[9]), n.m_topMost = int(v[10]);
    }
    if (Numbers(GetX(comp, "X-JOTTERLY-COUNTDOWN"), v, 2, kIntMin, kIntMax)) {
        n.m_showCountdown = int(v[0]);
        n.m_countdownFormat = int(v[1]);
    }
    const std::vector<std::string> spare = Split(GetX(comp, "X-JOTTERLY-SPARE"), ',');
    if (spare.size() == 3 && Numbers(spare[0] + "," + spare[1], v, 2, kIntMin, kIntMax) &&
        v[1] >= 0 && v[1] <= 2) {
        char* end = nullptr;
        const double dt = std::strtod(spare[2].c_str(), &end);
        if (!*end && std::isfinite(dt)) {
            n.m_spareFlag = int(v[0]);
            n.m_spareTime.m_dt = dt;
            n.m_spareTime.m_status = COleDateTime::Status(v[1]);
        }
    }
}

// ---- export -------------------------------------------------------------------------------

// The exact rule goes along when the RRULE alone would not bring the note back as it is.
bool NeedsExactRule(const CNote& note, const CICalRule::Exported& rule) {
    if (note.m_type == CNote::Every) {
        if (rule.rrule.empty() || !rule.exact || !(rule.dtstart == note.m_startTime)) return true;
        CICalRule::Imported back;
        return !CICalRule::FromRRule(rule.rrule, rule.dtstart, back) || !back.exact ||
               back.recurrence != note.m_recurrence || back.indexDay != note.m_indexDay ||
               !back.weeklyStarts.empty();
    }
    if (note.m_recurrence != 0 || note.m_indexDay != 0) return true;
    return note.m_type != CNote::OneTime ? note.m_priorDays != 0 : note.m_priorDays < 0;
}

// A snooze moved the alarm past the one the occurrence and the prior days give.
bool IsSnoozed(const CNote& note) {
    return note.m_type != CNote::Memo && note.m_alarmTime.IsValid() && note.m_nextTime.IsValid() &&
           note.m_alarmTime > note.m_nextTime - COleDateTimeSpan(note.m_priorDays);
}

icalcomponent* NoteComponent(const CICalMapping::ExportItem& item, int64_t now, icaltimezone* zone,
                             const std::string& zoneName) {
    const CNote& note = *item.note;
    const bool timed = note.m_type == CNote::OneTime || note.m_type == CNote::Every;
    icalcomponent* comp = timed ? icalcomponent_new_vevent() : icalcomponent_new_vjournal();
    icalcomponent_add_property(comp, icalproperty_new_uid(item.identity.uid.c_str()));
    icalcomponent_add_property(comp, icalproperty_new_dtstamp(UtcTime(now)));
    icalcomponent_add_property(
        comp, icalproperty_new_lastmodified(
                  UtcTime(item.identity.lastModified ? item.identity.lastModified : now)));
    icalcomponent_add_property(comp, icalproperty_new_sequence(item.identity.sequence));
    icalcomponent_add_property(comp,
                               icalproperty_new_summary(ToCalendarText(note.m_title).c_str()));
    if (!note.m_text.empty())
        icalcomponent_add_property(
            comp, icalproperty_new_description(ToCalendarText(note.m_text).c_str()));
    // Readers drop blanks at the ends of a value, so they travel once more, spelt out.
    if (const std::string edges = EdgeBlanks(note.m_title); !edges.empty())
        AddX(comp, "X-JOTTERLY-TITLE-BLANKS", edges);
    if (const std::string edges = EdgeBlanks(note.m_text); !edges.empty())
        AddX(comp, "X-JOTTERLY-TEXT-BLANKS", edges);

    const CICalRule::Exported rule = CICalRule::ForNote(note);
    // Minute and hour rules step on the wall clock, across daylight-saving changes too; only a
    // floating time says that (in a zone, a calendar shifts them by the hour the clock jumps).
    if (note.m_type == CNote::Every && note.m_indexDay <= 10000 && note.Unit() <= CNote::Hour)
        zone = nullptr;
    if (rule.dtstart.IsValid()) {
        icalproperty* start = icalproperty_new_dtstart(LocalTime(rule.dtstart, zone));
        if (zone && zone != icaltimezone_get_utc_timezone())
            icalproperty_add_parameter(start, icalparameter_new_tzid(zoneName.c_str()));
        icalcomponent_add_property(comp, start);
    }
    if (!rule.rrule.empty())
        icalcomponent_add_property(
            comp, icalproperty_new_rrule(icalrecurrencetype_from_string(rule.rrule.c_str())));
    if (NeedsExactRule(note, rule))
        AddX(comp, "X-JOTTERLY-RECURRENCE",
             "T=" + std::to_string(note.m_type) + ";" + CICalRule::ExactText(note));

    if (timed && note.m_priorDays >= 0) {
        icalcomponent* alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        const std::string shown = note.m_title.empty() ? "Reminder" : ToCalendarText(note.m_title);
        icalcomponent_add_property(alarm, icalproperty_new_description(shown.c_str()));
        struct icaltriggertype trigger {};
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_null_duration();
        trigger.duration.is_neg = note.m_priorDays > 0;
        trigger.duration.days = unsigned(note.m_priorDays);
        icalproperty* p = icalproperty_new_trigger(trigger);
        icalproperty_add_parameter(p, icalparameter_new_related(ICAL_RELATED_START));
        icalcomponent_add_property(alarm, p);
        const std::string alarmUid = item.identity.uid + "-alarm";
        icalcomponent_add_property(alarm, icalproperty_new_uid(alarmUid.c_str()));
        if (item.identity.acknowledged)
            icalcomponent_add_property(
                alarm, icalproperty_new_acknowledged(UtcTime(item.identity.acknowledged)));
        icalcomponent_add_component(comp, alarm);
        if (IsSnoozed(note)) {
            icalcomponent* snooze = icalcomponent_new_valarm();
            icalcomponent_add_property(snooze, icalproperty_new_action(ICAL_ACTION_DISPLAY));
            icalcomponent_add_property(snooze, icalproperty_new_description(shown.c_str()));
            struct icaltriggertype at {};
            at.time = UtcTime(CICalMapping::UtcSeconds(note.m_alarmTime));
            at.duration = icaldurationtype_null_duration();
            icalcomponent_add_property(snooze, icalproperty_new_trigger(at));
            icalcomponent_add_property(
                snooze,
                icalproperty_new_from_string(("RELATED-TO;RELTYPE=SNOOZE:" + alarmUid).c_str()));
            icalcomponent_add_component(comp, snooze);
        }
    }

    // Each level its own CATEGORIES value, for other programs; the exact path in the X value.
    std::string path;
    for (const std::string& name : item.categoryPath) {
        std::string shown = name;
        std::replace_if(
            shown.begin(), shown.end(), [](char c) { return c == ',' || c == ';' || c == '\\'; },
            ' ');
        icalcomponent_add_property(comp, icalproperty_new_categories(shown.c_str()));
        path += (path.empty() ? "" : "/") + PercentEncode(name);
    }
    if (!item.categoryPath.empty()) AddX(comp, "X-JOTTERLY-CATEGORY", path);
    WriteLook(comp, note);
    return comp;
}

// ---- import -------------------------------------------------------------------------------

std::string RuleText(icalcomponent* comp) {
    std::string text;
    for (icalproperty_kind kind :
         {ICAL_RRULE_PROPERTY, ICAL_EXRULE_PROPERTY, ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY}) {
        for (icalproperty* p = icalcomponent_get_first_property(comp, kind); p;
             p = icalcomponent_get_next_property(comp, kind)) {
            const char* value = icalproperty_get_value_as_string(p);
            text += std::string("\r\n") + icalproperty_kind_to_string(kind) + ":" +
                    (value ? value : "");
        }
    }
    return text;
}

int CountProperties(icalcomponent* comp, icalproperty_kind kind) {
    int n = 0;
    for (icalproperty* p = icalcomponent_get_first_property(comp, kind); p;
         p = icalcomponent_get_next_property(comp, kind))
        ++n;
    return n;
}

bool IsSnoozeAlarm(icalcomponent* alarm) {
    for (icalproperty* p = icalcomponent_get_first_property(alarm, ICAL_RELATEDTO_PROPERTY); p;
         p = icalcomponent_get_next_property(alarm, ICAL_RELATEDTO_PROPERTY)) {
        char* type = icalproperty_get_parameter_as_string_r(p, "RELTYPE");
        const bool snooze = type && strcasecmp(type, "SNOOZE") == 0;
        std::free(type);
        if (snooze) return true;
    }
    return false;
}

// The latest ACKNOWLEDGED of the alarms (UTC seconds, 0 for none) and the latest time a snooze
// alarm names (not valid for none).
int64_t AlarmState(icalcomponent* comp, COleDateTime& snoozedTo) {
    int64_t acknowledged = 0;
    snoozedTo.SetStatus(COleDateTime::invalid);
    for (icalcomponent* a = icalcomponent_get_first_component(comp, ICAL_VALARM_COMPONENT); a;
         a = icalcomponent_get_next_component(comp, ICAL_VALARM_COMPONENT)) {
        int64_t seen = 0; // when this alarm was acknowledged
        if (icalproperty* p = icalcomponent_get_first_property(a, ICAL_ACKNOWLEDGED_PROPERTY)) {
            const icaltimetype t = icalproperty_get_acknowledged(p);
            if (!icaltime_is_null_time(t) && t.year >= 1970 && t.year <= 9999)
                seen = icaltime_as_timet_with_zone(t, icaltimezone_get_utc_timezone());
        }
        acknowledged = std::max(acknowledged, seen);
        icalproperty* p = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
        COleDateTime at;
        // A snooze alarm acknowledged after its time has rung and is done with.
        if (p && IsSnoozeAlarm(a) && ToLocal(icalproperty_get_trigger(p).time, at) &&
            (!seen || seen < CICalMapping::UtcSeconds(at)) &&
            (!snoozedTo.IsValid() || at > snoozedTo))
            snoozedTo = at;
    }
    return acknowledged;
}

// Days ahead of the start the earliest display or audio alarm rings (whole days, rounded down).
int PriorDays(icalcomponent* comp, const COleDateTime& start) {
    int best = -1;
    for (icalcomponent* a = icalcomponent_get_first_component(comp, ICAL_VALARM_COMPONENT); a;
         a = icalcomponent_get_next_component(comp, ICAL_VALARM_COMPONENT)) {
        icalproperty* p = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
        if (!p || IsSnoozeAlarm(a)) continue;
        const struct icaltriggertype t = icalproperty_get_trigger(p);
        double before = 0; // days
        if (!icaltime_is_null_time(t.time)) {
            COleDateTime at;
            if (!ToLocal(t.time, at)) continue;
            before = (start - at).GetTotalDays();
        } else {
            before = -double(icaldurationtype_as_int(t.duration)) / 86400.0;
        }
        const int days = before <= 0 ? 0 : int(std::min(36500.0, std::floor(before + 1e-9)));
        best = std::max(best, days);
    }
    return best < 0 ? 0 : best;
}

std::vector<std::string> CategoryPath(icalcomponent* comp) {
    std::vector<std::string> path;
    const std::string exact = GetX(comp, "X-JOTTERLY-CATEGORY");
    if (!exact.empty()) {
        for (const std::string& part : Split(exact, '/'))
            path.push_back(FromCalendarText(PercentDecode(part).c_str()));
    } else {
        for (icalproperty* p = icalcomponent_get_first_property(comp, ICAL_CATEGORIES_PROPERTY); p;
             p = icalcomponent_get_next_property(comp, ICAL_CATEGORIES_PROPERTY)) {
            std::string name = FromCalendarText(icalproperty_get_categories(p));
            if (!name.empty()) path.push_back(name);
        }
    }
    path.erase(
        std::remove_if(path.begin(), path.end(), [](const std::string& s) { return s.empty(); }),
        path.end());
    if (path.size() > 16) path.resize(16);
    for (std::string& name : path)
        name = TextCodec::CutToCharacters(name, 255);
    return path;
}

const char* const kWeekdayCodes[] = {"", "SU", "MO", "TU", "WE", "TH", "FR", "SA"};

void TakeComponent(icalcomponent* comp, const CNote& prototype, const std::string& localZone,
                   CICalMapping::Imported& out) {
    const icalcomponent_kind kind = icalcomponent_isa(comp);
    auto note = std::make_unique<CNote>(prototype);
    note->m_type = CNote::Memo;
    note->m_recurrence = note->m_indexDay = note->m_priorDays = 0;
    note->m_title = FromCalendarText(icalcomponent_get_summary(comp));
    std::string text;
    for (icalproperty* p = icalcomponent_get_first_property(comp, ICAL_DESCRIPTION_PROPERTY); p;
         p = icalcomponent_get_next_property(comp, ICAL_DESCRIPTION_PROPERTY))
        text +=
            (text.empty() ? "" : "\r\n\r\n") + FromCalendarText(icalproperty_get_description(p));
    note->m_text = text;

    // When the note starts: DTSTART, for a to-do its DUE.
    COleDateTime start;
    bool hasStart = false;
    if (kind == ICAL_VTODO_COMPONENT) {
        if (icalcomponent_get_first_property(comp, ICAL_DUE_PROPERTY))
            hasStart = ToLocal(ZonedTime(comp, ICAL_DUE_PROPERTY, localZone), start);
    } else if (icalcomponent_get_first_property(comp, ICAL_DTSTART_PROPERTY)) {
        hasStart = ToLocal(ZonedTime(comp, ICAL_DTSTART_PROPERTY, localZone), start);
    }
    if (hasStart) note->m_startTime = start;
    const bool timed = hasStart && kind != ICAL_VJOURNAL_COMPONENT;

    std::vector<COleDateTime> weeklyStarts;
    const std::string exact = GetX(comp, "X-JOTTERLY-RECURRENCE");
    int type = 0;
    if (exact.size() > 6 && exact.compare(0, 2, "T=") == 0 && exact[5] == ';') {
        type = std::atoi(exact.substr(2, 3).c_str());
        if ((type != CNote::Memo && type != CNote::OneTime && type != CNote::Every) ||
            !CICalRule::ApplyExactText(exact.substr(6), *note))
            type = 0;
    }
    if (type != 0) {
        note->m_type = type; // the exact text carried the rule, the start and the prior days
    } else if (timed) {
        note->m_type = CNote::OneTime;
        note->m_priorDays = PriorDays(comp, start);
        icalproperty* rrule = icalcomponent_get_first_property(comp, ICAL_RRULE_PROPERTY);
        const bool extra = CountProperties(comp, ICAL_RRULE_PROPERTY) > 1 ||
                           CountProperties(comp, ICAL_EXRULE_PROPERTY) ||
                           CountProperties(comp, ICAL_RDATE_PROPERTY) ||
                           CountProperties(comp, ICAL_EXDATE_PROPERTY);
        CICalRule::Imported rule;
        const char* value = rrule ? icalproperty_get_value_as_string(rrule) : nullptr;
        if (value && CICalRule::FromRRule(value, start, rule)) {
            note->m_type = CNote::Every;
            note->m_recurrence = rule.recurrence;
            note->m_indexDay = rule.indexDay;
            weeklyStarts = rule.weeklyStarts;
            if (note->Unit() < CNote::Day || note->Unit() > CNote::Year) note->m_priorDays = 0;
        }
        if ((value && !rule.exact) || extra || (rrule && !value)) {
            ++out.approximated;
            note->m_text += (note->m_text.empty() ? "" : "\r\n\r\n") +
                            std::string("Repeats as the calendar file said:") + RuleText(comp);
        }
    }
    RestoreEdges(note->m_title, GetX(comp, "X-JOTTERLY-TITLE-BLANKS"));
    RestoreEdges(note->m_text, GetX(comp, "X-JOTTERLY-TEXT-BLANKS"));
    ReadLook(comp, *note);
    note->m_alarmTime = note->m_nextTime = note->m_baseTime = note->m_startTime;
    if (note->m_type != CNote::Memo)
        note->Recompute();
    else
        note->m_dueSoon = 0;
    int64_t acknowledged = 0;
    bool snoozed = false;
    if (note->m_type != CNote::Memo) {
        COleDateTime snoozedTo;
        acknowledged = AlarmState(comp, snoozedTo);
        // A snooze alarm stands until it is acknowledged: it rings even when past.
        if (snoozedTo.IsValid()) {
            snoozed = true;
            note->m_alarmTime = snoozedTo;
            note->m_dueSoon = note->IsDueSoon();
        }
    }

    const char* uid = icalcomponent_get_uid(comp);
    int sequence = 0;
    if (icalproperty* p = icalcomponent_get_first_property(comp, ICAL_SEQUENCE_PROPERTY))
        sequence = icalproperty_get_sequence(p);
    auto add = [&](std::unique_ptr<CNote> n, std::string id) {
        (n->m_type == CNote::Memo ? out.memos : out.reminders)++;
        out.items.push_back(
            {std::move(n), CategoryPath(comp), std::move(id), sequence, acknowledged, snoozed});
    };
    if (weeklyStarts.empty()) {
        add(std::move(note), uid ? uid : "");
        return;
    }
    // A weekly rule on several weekdays: one weekly note per weekday, the first keeps the UID.
    for (size_t i = 0; i < weeklyStarts.size(); ++i) {
        auto copy = std::make_unique<CNote>(*note);
        copy->m_startTime = copy->m_baseTime = copy->m_nextTime = weeklyStarts[i];
        copy->Recompute();
        std::string id = uid ? uid : "";
        if (i > 0 && !id.empty())
            id += std::string("-") + kWeekdayCodes[weeklyStarts[i].GetDayOfWeek()];
        add(std::move(copy), id);
    }
}

void Collect(icalcomponent* comp, const CNote& prototype, const std::string& localZone,
             CICalMapping::Imported& out, int depth) {
    if (!comp || depth > 3 || out.items.size() >= CICalMapping::kMaxItems) return;
    switch (icalcomponent_isa(comp)) {
    case ICAL_VEVENT_COMPONENT:
    case ICAL_VTODO_COMPONENT:
    case ICAL_VJOURNAL_COMPONENT:
        TakeComponent(comp, prototype, localZone, out);
        return;
    case ICAL_XROOT_COMPONENT:
    case ICAL_VCALENDAR_COMPONENT:
        for (icalcomponent* c = icalcomponent_get_first_component(comp, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(comp, ICAL_ANY_COMPONENT))
            Collect(c, prototype, localZone, out, depth + 1);
        return;
    default:
        return;
    }
}

std::string Plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

int64_t CICalMapping::UtcSeconds(const COleDateTime& t) {
    std::tm tm{};
    if (!t.IsValid() || !t.GetTm(tm)) return 0;
    return int64_t(mktime(&tm));
}

std::string CICalMapping::SystemZoneName() {
    std::string name;
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        name = tz[0] == ':' ? tz + 1 : tz;
    } else if (std::ifstream f("/etc/timezone"); f && std::getline(f, name)) {
    } else {
        char buf[512];
        const ssize_t n = readlink("/etc/localtime", buf, sizeof buf - 1);
        if (n > 0) name.assign(buf, size_t(n));
    }
    const size_t at = name.find("zoneinfo/");
    if (at != std::string::npos) name.erase(0, at + 9);
    return name;
}

std::string CICalMapping::Export(const std::vector<ExportItem>& items, int64_t now,
                                 const std::string& zoneName) {
    icalerror_set_errors_are_fatal(0);
    const std::string name = zoneName.empty() ? SystemZoneName() : zoneName;
    icaltimezone* zone = nullptr;
    if (name == "UTC" || name == "Etc/UTC" || name == "Universal" || name == "Zulu")
        zone = icaltimezone_get_utc_timezone();
    else if (!name.empty())
        zone = icaltimezone_get_builtin_timezone(name.c_str());

    icalcomponent* cal = icalcomponent_new_vcalendar();
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(
        cal, icalproperty_new_prodid("-//Jotterly//Jotterly " JOTTERLY_VERSION "//EN"));
    const bool anyTimed = std::any_of(items.begin(), items.end(), [](const ExportItem& i) {
        return i.note->m_type != CNote::Memo;
    });
    // The zone goes by its plain name ("Europe/Berlin"), not the library's prefixed one.
    if (zone && zone != icaltimezone_get_utc_timezone() && anyTimed) {
        if (icalcomponent* vtz = icaltimezone_get_component(zone)) {
            icalcomponent* copy = icalcomponent_new_clone(vtz);
            if (icalproperty* id = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY))
                icalproperty_set_tzid(id, name.c_str());
            icalcomponent_add_component(cal, copy);
        }
    }
    for (const ExportItem& item : items)
        icalcomponent_add_component(cal, NoteComponent(item, now, zone, name));
    char* text = icalcomponent_as_ical_string_r(cal);
    std::string out = text ? text : "";
    std::free(text);
    icalcomponent_free(cal);
    return out;
}

bool CICalMapping::Import(const std::string& bytes, const CNote& prototype, Imported& out,
                          std::string* error) {
    out = Imported{};
    icalerror_set_errors_are_fatal(0);
    if (bytes.size() > kMaxBytes) {
        if (error) *error = "The file is too large for a calendar file.";
        return false;
    }
    if (bytes.find("BEGIN:VCALENDAR") == std::string::npos &&
        bytes.find("begin:vcalendar") == std::string::npos) {
        if (error) *error = "The file is no calendar file (it has no BEGIN:VCALENDAR).";
        return false;
    }
    icalcomponent* root = icalparser_parse_string(bytes.c_str());
    icalerror_clear_errno();
    if (!root) {
        if (error) *error = "The calendar file could not be read.";
        return false;
    }
    Collect(root, prototype, SystemZoneName(), out, 0);
    icalcomponent_free(root);
    return true;
}

std::string CICalMapping::Imported::Summary() const {
    std::string s = Plural(reminders, "reminder", "reminders") + " and " +
                    Plural(memos, "memo", "memos") + " imported";
    if (approximated > 0)
        s += "; " + Plural(approximated, "recurrence rule", "recurrence rules") + " approximated " +
             (approximated == 1 ? "(see its text)" : "(see their text)");
    return s;
}
