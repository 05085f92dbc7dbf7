#include "core/ical/CICalText.h"

#include "core/storage/TextCodec.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <strings.h>

std::string CICalText::ToCalendarText(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
    return out;
}

std::string CICalText::FromCalendarText(const char* s) {
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
std::string CICalText::PercentEncode(const std::string& s) {
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

std::string CICalText::PercentDecode(const std::string& s) {
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

std::string CICalText::EdgeBlanks(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return s.empty() ? "" : PercentEncode(s) + ",";
    const size_t last = s.find_last_not_of(" \t");
    if (first == 0 && last + 1 == s.size()) return {};
    return PercentEncode(s.substr(0, first)) + "," + PercentEncode(s.substr(last + 1));
}

void CICalText::RestoreEdges(std::string& s, const std::string& encoded) {
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

std::vector<std::string> CICalText::Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = s.find(sep, from);
        parts.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

bool CICalText::Numbers(const std::string& s, std::vector<long long>& out, size_t n, long long lo,
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

void CICalText::AddX(icalcomponent* comp, const char* name, const std::string& value) {
    icalproperty* p = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(comp, p);
}

std::string CICalText::GetX(icalcomponent* comp, const char* name) {
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

std::string CICalText::Join(const std::vector<long long>& v) {
    std::string s;
    for (size_t i = 0; i < v.size(); ++i)
        s += (i ? "," : "") + std::to_string(v[i]);
    return s;
}
