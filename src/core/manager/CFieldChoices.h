#pragma once

#include "core/platform/COleDateTime.h"

#include <string>
#include <vector>

// The contents of a field's popup list: the entries, the value each stands for, which one is
// preselected, and what the window needs to size itself (rows shown, a sample of the widest
// text, whether a scroll bar is needed).
struct CFieldChoices {
    enum Kind { Year = 0, Month = 1, Weekday = 2, Day = 3, Hour = 4, Minute = 5, WeekOfMonth = 6 };

    int kind = Year;
    std::vector<std::string> entries;
    std::vector<int> values;
    int preselect = 0;
    int visibleRows = 0;
    std::string widthSample;
    bool scrollBar = false;

    // The list of a date-time field (kinds Year .. Minute) around value.
    static CFieldChoices ForDate(int kind, const COleDateTime& value);
    // The list of an index-day field (kinds Month, Weekday, WeekOfMonth) with the entry of the
    // 0-based index preselected.
    static CFieldChoices ForIndex(int kind, int index);
};
