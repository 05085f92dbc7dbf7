#include "core/net/HtmlToText.h"

#include <string_view>

namespace {

std::string StripTags(const std::string& html) {
    std::string out;
    out.reserve(html.size());
    size_t i = 0;
    while (i < html.size()) {
        const size_t a = html.find('<', i);
        const size_t b = a == std::string::npos ? a : html.find('>', a + 1);
        if (b == std::string::npos) break;
        out.append(html, i, a - i);
        i = b + 1;
    }
    if (i < html.size()) out.append(html, i, std::string::npos);
    return out;
}

// Every non-overlapping `from`, left to right, replaced by `to`.
std::string ReplaceAll(const std::string& s, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    for (size_t at; (at = s.find(from, i)) != std::string::npos; i = at + from.size()) {
        out.append(s, i, at - i);
        out.append(to);
    }
    out.append(s, i, std::string::npos);
    return out;
}

// Replacing "\r\n\r\n" by "\r\n" until none is left: each run of "\r\n" pairs becomes one.
std::string CollapseLineEnds(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, 2, "\r\n") == 0 && out.size() >= 2 &&
            out.compare(out.size() - 2, 2, "\r\n") == 0) {
            i += 2;
            continue;
        }
        out.push_back(s[i++]);
    }
    return out;
}

} // namespace

std::string HtmlToText(const std::string& html) {
    return CollapseLineEnds(ReplaceAll(ReplaceAll(StripTags(html), "&nbsp;", ""), "\n\n", "\r\n"));
}
