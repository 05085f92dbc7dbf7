#include "core/ical/CICalAlarm.h"

#include "core/ical/CICalText.h"
#include "core/ical/CICalTime.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <strings.h>

bool CICalAlarm::IsSnoozed(const CNote& note) {
    return note.m_type != CNote::Memo && note.m_alarmTime.IsValid() && note.m_nextTime.IsValid() &&
           note.m_alarmTime > note.m_nextTime - COleDateTimeSpan(note.m_priorDays);
}

bool CICalAlarm::IsSnoozeAlarm(icalcomponent* alarm) {
    for (icalproperty* p = icalcomponent_get_first_property(alarm, ICAL_RELATEDTO_PROPERTY); p;
         p = icalcomponent_get_next_property(alarm, ICAL_RELATEDTO_PROPERTY)) {
        char* type = icalproperty_get_parameter_as_string_r(p, "RELTYPE");
        const bool snooze = type && strcasecmp(type, "SNOOZE") == 0;
        std::free(type);
        if (snooze) return true;
    }
    return false;
}

int64_t CICalAlarm::AlarmState(icalcomponent* comp, COleDateTime& snoozedTo) {
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
        if (p && IsSnoozeAlarm(a) && CICalTime::ToLocal(icalproperty_get_trigger(p).time, at) &&
            (!seen || seen < CICalTime::UtcSeconds(at)) && (!snoozedTo.IsValid() || at > snoozedTo))
            snoozedTo = at;
    }
    return acknowledged;
}

int CICalAlarm::PriorDays(icalcomponent* comp, const COleDateTime& start) {
    int best = -1;
    for (icalcomponent* a = icalcomponent_get_first_component(comp, ICAL_VALARM_COMPONENT); a;
         a = icalcomponent_get_next_component(comp, ICAL_VALARM_COMPONENT)) {
        icalproperty* p = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
        if (!p || IsSnoozeAlarm(a)) continue;
        const struct icaltriggertype t = icalproperty_get_trigger(p);
        double before = 0; // days
        if (!icaltime_is_null_time(t.time)) {
            COleDateTime at;
            if (!CICalTime::ToLocal(t.time, at)) continue;
            before = (start - at).GetTotalDays();
        } else {
            before = -double(icaldurationtype_as_int(t.duration)) / 86400.0;
        }
        const int days = before <= 0 ? 0 : int(std::min(36500.0, std::floor(before + 1e-9)));
        best = std::max(best, days);
    }
    return best < 0 ? 0 : best;
}

void CICalAlarm::AddAlarms(icalcomponent* comp, const CNote& note, const std::string& uid,
                           int64_t acknowledged) {
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    const std::string shown =
        note.m_title.empty() ? "Reminder" : CICalText::ToCalendarText(note.m_title);
    icalcomponent_add_property(alarm, icalproperty_new_description(shown.c_str()));
    struct icaltriggertype trigger {};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_null_duration();
    trigger.duration.is_neg = note.m_priorDays > 0;
    trigger.duration.days = unsigned(note.m_priorDays);
    icalproperty* p = icalproperty_new_trigger(trigger);
    icalproperty_add_parameter(p, icalparameter_new_related(ICAL_RELATED_START));
    icalcomponent_add_property(alarm, p);
    const std::string alarmUid = uid + "-alarm";
    icalcomponent_add_property(alarm, icalproperty_new_uid(alarmUid.c_str()));
    if (acknowledged)
        icalcomponent_add_property(alarm,
                                   icalproperty_new_acknowledged(CICalTime::UtcTime(acknowledged)));
    icalcomponent_add_component(comp, alarm);
    if (IsSnoozed(note)) {
        icalcomponent* snooze = icalcomponent_new_valarm();
        icalcomponent_add_property(snooze, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icalcomponent_add_property(snooze, icalproperty_new_description(shown.c_str()));
        struct icaltriggertype at {};
        at.time = CICalTime::UtcTime(CICalTime::UtcSeconds(note.m_alarmTime));
        at.duration = icaldurationtype_null_duration();
        icalcomponent_add_property(snooze, icalproperty_new_trigger(at));
        icalcomponent_add_property(snooze, icalproperty_new_from_string(
                                               ("RELATED-TO;RELTYPE=SNOOZE:" + alarmUid).c_str()));
        icalcomponent_add_component(comp, snooze);
    }
}
