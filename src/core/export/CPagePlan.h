#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Lays a text out for printing: word-wrapped lines that fit a width, grouped into pages of
// whole lines. The printer draws exactly these lines, so nothing is cut at a page end, lost or
// printed twice. Widths come from the caller's font through the measuring callback.
class CPagePlan {
public:
    // Width of one line of text, in the same units as the box.
    using Measure = std::function<int(std::string_view)>;
    using Page = std::vector<std::string>;

    // text: UTF-8 with "\n" line ends. Breaks at spaces; a word wider than the box is broken
    // between characters. Spaces at a break are dropped; an empty line stays a line. Tabs
    // become spaces up to the next multiple of four columns.
    static std::vector<std::string> WrapLines(std::string_view text, int width,
                                              const Measure& measure);
    // The lines in pages of bodyHeight / lineHeight lines (at least one line a page). There is
    // always at least one page, empty for an empty text.
    static std::vector<Page> Paginate(std::string_view text, int width, int lineHeight,
                                      int bodyHeight, const Measure& measure);
};
