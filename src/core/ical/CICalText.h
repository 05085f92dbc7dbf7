#pragma once

#include <libical/ical.h>

#include <string>
#include <vector>

// Text as it travels in calendar values: line breaks, X- properties, names percent-encoded so
// that no calendar program's escaping changes them, blanks at the ends of a value (which
// readers drop) and comma lists of numbers.
class CICalText {
public:
    // Line breaks are CR LF in a note and LF in a calendar's text values.
    static std::string ToCalendarText(const std::string& s);
    // UTF-8 as it stands, anything else read as Windows-1252; LF becomes CR LF.
    static std::string FromCalendarText(const char* s);
    // Everything but plain letters, digits and ".", "_", "-" as %XX.
    static std::string PercentEncode(const std::string& s);
    static std::string PercentDecode(const std::string& s);
    // Blanks at either end of a text value: "<lead>,<tail>" percent-encoded, or empty when
    // there are none.
    static std::string EdgeBlanks(const std::string& s);
    // Puts back the blanks EdgeBlanks spelt out (only blanks, and only a bounded amount).
    static void RestoreEdges(std::string& s, const std::string& encoded);
    static std::vector<std::string> Split(const std::string& s, char sep);
    // Exactly n whole numbers of a comma list, each within [lo, hi]; false when any is not.
    static bool Numbers(const std::string& s, std::vector<long long>& out, size_t n, long long lo,
                        long long hi);
    static std::string Join(const std::vector<long long>& v);
    static void AddX(icalcomponent* comp, const char* name, const std::string& value);
    // The value of the first X- property of that name (any case); empty for none.
    static std::string GetX(icalcomponent* comp, const char* name);
};
