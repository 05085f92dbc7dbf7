#include "core/export/CPagePlan.h"

#include <algorithm>

namespace {
bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string ExpandTabs(std::string_view line) {
    std::string out;
    int column = 0;
    for (char c : line) {
        if (c == '\t') {
            const int spaces = 4 - column % 4;
            out.append(static_cast<size_t>(spaces), ' ');
            column += spaces;
            continue;
        }
        out += c;
        if (!IsContinuation(c)) ++column;
    }
    return out;
}

// Splits an over-wide word into lines that fit, each at least one character; the last piece
// becomes the start of the next line.
void BreakWord(std::string_view word, int width, const CPagePlan::Measure& measure,
               std::vector<std::string>& lines, std::string& rest) {
    while (true) {
        std::vector<size_t> ends; // character boundaries
        for (size_t i = 1; i <= word.size(); ++i)
            if (i == word.size() || !IsContinuation(word[i])) ends.push_back(i);
        if (ends.size() <= 1 || measure(word) <= width) {
            rest = std::string(word);
            return;
        }
        // The longest prefix that fits, by bisection; one character even when none fits.
        size_t lo = 0, hi = ends.size() - 1;
        while (lo + 1 < hi) {
            const size_t mid = (lo + hi) / 2;
            if (measure(word.substr(0, ends[mid])) <= width)
                lo = mid;
            else
                hi = mid;
        }
        lines.emplace_back(word.substr(0, ends[lo]));
        word.remove_prefix(ends[lo]);
    }
}

void WrapParagraph(const std::string& para, int width, const CPagePlan::Measure& measure,
                   std::vector<std::string>& lines) {
    std::string line;
    bool lineHasWord = false;
    size_t pos = 0;
    while (pos < para.size()) {
        const size_t wordStart = para.find_first_not_of(' ', pos);
        if (wordStart == std::string::npos) break; // trailing spaces are not printed
        const size_t wordEnd = std::min(para.find(' ', wordStart), para.size());
        const std::string_view gap(para.data() + pos, wordStart - pos);
        const std::string_view word(para.data() + wordStart, wordEnd - wordStart);
        pos = wordEnd;
        std::string candidate = line;
        candidate.append(gap).append(word);
        if (measure(candidate) <= width) {
            line = std::move(candidate);
            lineHasWord = true;
            continue;
        }
        if (lineHasWord) {
            lines.push_back(line);
            line.clear();
        }
        // The word starts a line of its own (leading spaces of a paragraph are kept only
        // on its first line).
        std::string start =
            lineHasWord ? std::string(word) : line + std::string(gap) + std::string(word);
        lineHasWord = true;
        BreakWord(start, width, measure, lines, line);
    }
    if (lineHasWord || lines.empty()) lines.push_back(line);
}
} // namespace

std::vector<std::string> CPagePlan::WrapLines(std::string_view text, int width,
                                              const Measure& measure) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        const std::string_view para =
            text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
        std::vector<std::string> paraLines;
        WrapParagraph(ExpandTabs(para), width, measure, paraLines);
        if (paraLines.empty()) paraLines.emplace_back();
        lines.insert(lines.end(), paraLines.begin(), paraLines.end());
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

std::vector<CPagePlan::Page> CPagePlan::Paginate(std::string_view text, int width, int lineHeight,
                                                 int bodyHeight, const Measure& measure) {
    const std::vector<std::string> lines = WrapLines(text, width, measure);
    const size_t perPage = static_cast<size_t>(std::max(1, bodyHeight / std::max(1, lineHeight)));
    std::vector<Page> pages;
    for (size_t i = 0; i < lines.size(); i += perPage)
        pages.emplace_back(lines.begin() + static_cast<std::ptrdiff_t>(i),
                           lines.begin() +
                               static_cast<std::ptrdiff_t>(std::min(lines.size(), i + perPage)));
    if (pages.empty()) pages.emplace_back();
    return pages;
}
