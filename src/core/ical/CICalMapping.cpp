#include "core/ical/CICalMapping.h"

#include "core/ical/CICalAlarm.h"
#include "core/ical/CICalLook.h"
#include "core/ical/CICalRule.h"
#include "core/ical/CICalText.h"
#include "core/ical/CICalTime.h"
#include "core/storage/TextCodec.h"

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

icalcomponent* NoteComponent(const CICalMapping::ExportItem& item, int64_t now, icaltimezone* zone,
                             const std::string& zoneName) {
    const CNote& note = *item.note;
    const bool timed = note.m_type == CNote::OneTime || note.m_type == CNote::Every;
    icalcomponent* comp = timed ? icalcomponent_new_vevent() : icalcomponent_new_vjournal();
    icalcomponent_add_property(comp, icalproperty_new_uid(item.identity.uid.c_str()));
    icalcomponent_add_property(comp, icalproperty_new_dtstamp(CICalTime::UtcTime(now)));
    icalcomponent_add_property(comp,
                               icalproperty_new_lastmodified(CICalTime::UtcTime(
                                   item.identity.lastModified ? item.identity.lastModified : now)));
    icalcomponent_add_property(comp, icalproperty_new_sequence(item.identity.sequence));
    icalcomponent_add_property(
        comp, icalproperty_new_summary(CICalText::ToCalendarText(note.m_title).c_str()));
    if (!note.m_text.empty())
        icalcomponent_add_property(
            comp, icalproperty_new_description(CICalText::ToCalendarText(note.m_text).c_str()));
    // Readers drop blanks at the ends of a value, so they travel once more, spelt out.
    if (const std::string edges = CICalText::EdgeBlanks(note.m_title); !edges.empty())
        CICalText::AddX(comp, "X-JOTTERLY-TITLE-BLANKS", edges);
    if (const std::string edges = CICalText::EdgeBlanks(note.m_text); !edges.empty())
        CICalText::AddX(comp, "X-JOTTERLY-TEXT-BLANKS", edges);

    const CICalRule::Exported rule = CICalRule::ForNote(note);
    // Minute and hour rules step on the wall clock, across daylight-saving changes too; only a
    // floating time says that (in a zone, a calendar shifts them by the hour the clock jumps).
    if (note.m_type == CNote::Every && note.m_indexDay <= 10000 && note.Unit() <= CNote::Hour)
        zone = nullptr;
    if (rule.dtstart.IsValid()) {
        icalproperty* start = icalproperty_new_dtstart(CICalTime::LocalTime(rule.dtstart, zone));
        if (zone && zone != icaltimezone_get_utc_timezone())
            icalproperty_add_parameter(start, icalparameter_new_tzid(zoneName.c_str()));
        icalcomponent_add_property(comp, start);
    }
    if (!rule.rrule.empty())
        icalcomponent_add_property(
            comp, icalproperty_new_rrule(icalrecurrencetype_from_string(rule.rrule.c_str())));
    if (NeedsExactRule(note, rule))
        CICalText::AddX(comp, "X-JOTTERLY-RECURRENCE",
                        "T=" + std::to_string(note.m_type) + ";" + CICalRule::ExactText(note));

    if (timed && note.m_priorDays >= 0)
        CICalAlarm::AddAlarms(comp, note, item.identity.uid, item.identity.acknowledged);

    // Each level its own CATEGORIES value, for other programs; the exact path in the X value.
    std::string path;
    for (const std::string& name : item.categoryPath) {
        std::string shown = name;
        std::replace_if(
            shown.begin(), shown.end(), [](char c) { return c == ',' || c == ';' || c == '\\'; },
            ' ');
        icalcomponent_add_property(comp, icalproperty_new_categories(shown.c_str()));
        path += (path.empty() ? "" : "/") + CICalText::PercentEncode(name);
    }
    if (!item.categoryPath.empty()) CICalText::AddX(comp, "X-JOTTERLY-CATEGORY", path);
    CICalLook::WriteLook(comp, note);
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

std::vector<std::string> CategoryPath(icalcomponent* comp) {
    std::vector<std::string> path;
    const std::string exact = CICalText::GetX(comp, "X-JOTTERLY-CATEGORY");
    if (!exact.empty()) {
        for (const std::string& part : CICalText::Split(exact, '/'))
            path.push_back(CICalText::FromCalendarText(CICalText::PercentDecode(part).c_str()));
    } else {
        for (icalproperty* p = icalcomponent_get_first_property(comp, ICAL_CATEGORIES_PROPERTY); p;
             p = icalcomponent_get_next_property(comp, ICAL_CATEGORIES_PROPERTY)) {
            std::string name = CICalText::FromCalendarText(icalproperty_get_categories(p));
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
    note->m_title = CICalText::FromCalendarText(icalcomponent_get_summary(comp));
    std::string text;
    for (icalproperty* p = icalcomponent_get_first_property(comp, ICAL_DESCRIPTION_PROPERTY); p;
         p = icalcomponent_get_next_property(comp, ICAL_DESCRIPTION_PROPERTY))
        text += (text.empty() ? "" : "\r\n\r\n") +
                CICalText::FromCalendarText(icalproperty_get_description(p));
    note->m_text = text;

    // When the note starts: DTSTART, for a to-do its DUE.
    COleDateTime start;
    bool hasStart = false;
    if (kind == ICAL_VTODO_COMPONENT) {
        if (icalcomponent_get_first_property(comp, ICAL_DUE_PROPERTY))
            hasStart =
                CICalTime::ToLocal(CICalTime::ZonedTime(comp, ICAL_DUE_PROPERTY, localZone), start);
    } else if (icalcomponent_get_first_property(comp, ICAL_DTSTART_PROPERTY)) {
        hasStart =
            CICalTime::ToLocal(CICalTime::ZonedTime(comp, ICAL_DTSTART_PROPERTY, localZone), start);
    }
    if (hasStart) note->m_startTime = start;
    const bool timed = hasStart && kind != ICAL_VJOURNAL_COMPONENT;

    std::vector<COleDateTime> weeklyStarts;
    const std::string exact = CICalText::GetX(comp, "X-JOTTERLY-RECURRENCE");
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
        note->m_priorDays = CICalAlarm::PriorDays(comp, start);
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
    CICalText::RestoreEdges(note->m_title, CICalText::GetX(comp, "X-JOTTERLY-TITLE-BLANKS"));
    CICalText::RestoreEdges(note->m_text, CICalText::GetX(comp, "X-JOTTERLY-TEXT-BLANKS"));
    CICalLook::ReadLook(comp, *note);
    note->m_alarmTime = note->m_nextTime = note->m_baseTime = note->m_startTime;
    if (note->m_type != CNote::Memo)
        note->Recompute();
    else
        note->m_dueSoon = 0;
    int64_t acknowledged = 0;
    bool snoozed = false;
    if (note->m_type != CNote::Memo) {
        COleDateTime snoozedTo;
        acknowledged = CICalAlarm::AlarmState(comp, snoozedTo);
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

std::string CICalMapping::Export(const std::vector<ExportItem>& items, int64_t now,
                                 const std::string& zoneName) {
    icalerror_set_errors_are_fatal(0);
    const std::string name = zoneName.empty() ? CICalTime::SystemZoneName() : zoneName;
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
    Collect(root, prototype, CICalTime::SystemZoneName(), out, 0);
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
