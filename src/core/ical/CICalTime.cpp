#include "core/ical/CICalTime.h"

#include <ctime>
#include <fstream>
#include <unistd.h>

icaltimetype CICalTime::LocalTime(const COleDateTime& t, icaltimezone* zone) {
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

icaltimetype CICalTime::UtcTime(int64_t seconds) {
    return icaltime_from_timet_with_zone(time_t(seconds), 0, icaltimezone_get_utc_timezone());
}

// A property's time with its zone: a zone this computer knows by the TZID's name is taken from
// the system (loaded once), only others from the file's VTIMEZONE.
icaltimetype CICalTime::ZonedTime(icalcomponent* comp, icalproperty_kind kind,
                                  const std::string& localZone) {
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

bool CICalTime::ToLocal(icaltimetype t, COleDateTime& out) {
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

int64_t CICalTime::UtcSeconds(const COleDateTime& t) {
    std::tm tm{};
    if (!t.IsValid() || !t.GetTm(tm)) return 0;
    return int64_t(mktime(&tm));
}

std::string CICalTime::SystemZoneName() {
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
