#include "core/manager/CFieldChoices.h"

#include <algorithm>

namespace {
constexpr int kMinYear = 100, kMaxYear = 9999;
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kWeeks[] = {"1st", "2nd", "3rd", "4th", "Last"};

int DaysInMonth(int year, int month) {
    for (int d = 31; d > 28; --d)
        if (COleDateTime(year, month, d, 0, 0, 0).IsValid()) return d;
    return 28;
}

CFieldChoices Named(int kind, const char* const* names, int count, int rows, const char* sample) {
    CFieldChoices c;
    c.kind = kind;
    for (int i = 0; i < count; ++i) {
        c.entries.emplace_back(names[i]);
        c.values.push_back(i + 1);
    }
    c.visibleRows = rows;
    c.widthSample = sample;
    return c;
}

CFieldChoices Numbers(int kind, int first, int last, int step, int rows, const char* sample) {
    CFieldChoices c;
    c.kind = kind;
    for (int v = first; v <= last; v += step) {
        c.entries.push_back(std::to_string(v));
        c.values.push_back(v);
    }
    c.visibleRows = rows;
    c.widthSample = sample;
    return c;
}
} // namespace

CFieldChoices CFieldChoices::ForDate(int kind, const COleDateTime& value) {
    COleDateTime::Parts p{};
    if (!value.GetParts(p)) p = {2000, 1, 1, 0, 0, 0, 7, 1};
    CFieldChoices c;
    switch (kind) {
    case Year: {
        // The year before and four after, kept within the years a date can have.
        const int first = std::max(kMinYear, p.year - 1), last = std::min(kMaxYear, p.year + 4);
        c = Numbers(Year, first, last, 1, 7, "3333");
        for (auto& e : c.entries)
            e.insert(0, 4 - std::min<size_t>(4, e.size()), ' ');
        c.preselect = p.year - first;
        break;
    }
    case Month:
        c = Named(Month, kMonths, 12, 13, "Sept");
        c.preselect = p.month - 1;
        break;
    case Weekday:
        c = Named(Weekday, kWeekdays, 7, 8, "Wedn");
        c.preselect = p.dayOfWeek - 1;
        break;
    case Day:
        c = Numbers(Day, 1, DaysInMonth(p.year, p.month), 1, 12, "333");
        c.scrollBar = true;
        c.preselect = p.day - 1;
        break;
    case Hour:
        c = Numbers(Hour, 0, 12, 1, 14, "333");
        c.preselect = p.hour >= 13 ? p.hour - 12 : p.hour;
        break;
    case Minute:
        c = Numbers(Minute, 0, 55, 5, 13, "333");
        c.preselect = p.minute / 5;
        break;
    default:
        return ForIndex(kind, 0);
    }
    return c;
}

CFieldChoices CFieldChoices::ForIndex(int kind, int index) {
    CFieldChoices c;
    switch (kind) {
    case Month:
        c = Named(Month, kMonths, 12, 13, "Sept");
        break;
    case Weekday:
        c = Named(Weekday, kWeekdays, 7, 8, "Wedn");
        break;
    default:
        c = Named(WeekOfMonth, kWeeks, 5, 6, "Last ");
        break;
    }
    c.preselect = std::clamp(index, 0, static_cast<int>(c.entries.size()) - 1);
    return c;
}
