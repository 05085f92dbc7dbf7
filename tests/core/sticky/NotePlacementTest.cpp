#include "core/sticky/NotePlacement.h"
#include "core/model/CNote.h"

#include <gtest/gtest.h>

namespace {
TEST(PlaceNoteWindow, NewKnownAndPointPlacementsOnA1024x768Screen) {
    const RECT none{0, 0, 0, 0};
    const struct {
        RECT stored; // none: the note never had a window
        int x, y, border;
        RECT placed;
    } cases[] = {
        {none, -1, 0, 2, {408, 306, 612, 459}}, // the middle fifth
        {{50, 60, 250, 200}, -1, -1, 2, {50, 60, 250, 200}},
        {{1000, -10, 1204, 143}, -1, -1, 2, {1000, -10, 1204, 143}}, // partly off: kept
        // Wholly outside the desktop (saved on a larger display): back to its nearest edge.
        {{2000, 100, 2204, 253}, -1, -1, 2, {820, 100, 1024, 253}},
        {{-500, -900, -300, -700}, -1, -1, 2, {0, 0, 200, 200}},
        {none, 500, 2, 2, {398, 0, 602, 153}}, // centred below the point, not above the top
        {{0, 0, 300, 200}, 500, 300, 5, {350, 292, 650, 492}},
    };
    for (const auto& c : cases) {
        CNote note;
        note.m_rectKnown = c.stored == none ? 0 : 1;
        note.m_windowRect = c.stored;
        EXPECT_EQ(PlaceNoteWindow(note, c.x, c.y, c.border, 1024, 768, RECT{0, 0, 1024, 768}),
                  c.placed)
            << c.stored.left << "," << c.x;
    }
}

TEST(ArrangeNotes, ColumnsRowsDiagonalsAndSpreads) {
    using P = std::vector<PixelPoint>;
    const struct {
        RECT clicked;
        int title, others;
        bool shift, alt, ctrl;
        P places;
    } cases[] = {
        // Shift: steps of SM_CXFRAME (4) + title down; past the bottom minus 18 a new column
        // 32 to the right at the top.
        {{100, 100, 304, 253}, 26, 3, true, false, false, P{{100, 130}, {100, 160}, {100, 190}}},
        {{100, 700, 304, 853}, 26, 3, true, false, false, P{{100, 730}, {132, 0}, {132, 30}}},
        // Alt: to the right, wrapping into a new row; both: diagonally.
        {{900, 50, 1000, 100}, 20, 3, false, true, false, P{{972, 50}, {0, 82}, {72, 82}}},
        {{100, 100, 200, 200}, 20, 2, true, true, false, P{{172, 124}, {244, 148}}},
        // Ctrl: spread over the rest of the screen.
        {{0, 0, 200, 100}, 20, 3, true, false, true, P{{0, 192}, {0, 384}, {0, 576}}},
        {{0, 0, 200, 100}, 20, 3, true, true, true, P{{256, 192}, {512, 384}, {768, 576}}},
        {{0, 0, 200, 100}, 20, 0, true, false, true, P{}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArrangeNotes(c.clicked, c.title, c.others, 1024, 768, c.shift, c.alt, c.ctrl),
                  c.places)
            << c.clicked.left << "," << c.clicked.top << " " << c.shift << c.alt << c.ctrl;
    // Many windows from near the bottom-right corner, every direction: all stay reachable.
    for (int mode = 1; mode < 8; ++mode)
        for (auto p : ArrangeNotes(RECT{1000, 740, 1100, 800}, 26, 200, 1024, 768, mode & 1,
                                   mode & 2, mode & 4)) {
            EXPECT_TRUE(p.x >= 0 && p.x <= 1024 - 18 && p.y >= 0 && p.y <= 768 - 18)
                << mode << ": " << p.x << "," << p.y;
        }
}
} // namespace

TEST(OffsetFromTaken, StepsPastTakenCornersAndWrapsInsideTheWorkArea) {
    const RECT work{0, 30, 1024, 768}; // a panel across the top
    const RECT wanted{408, 306, 612, 459};
    auto at = [](int left, int top) { return RECT{left, top, left + 204, top + 153}; };
    // Free: stays. Only an exactly equal corner counts as taken, not a mere overlap.
    EXPECT_EQ(OffsetFromTaken(wanted, {at(409, 306), at(0, 0)}, 26, work), wanted);
    // Taken once, then twice in a row (given out of order): one and two steps on.
    EXPECT_EQ(OffsetFromTaken(wanted, {at(408, 306)}, 26, work), at(434, 332));
    EXPECT_EQ(OffsetFromTaken(wanted, {at(434, 332), at(408, 306)}, 26, work), at(460, 358));
    // Near the bottom right: the next place would leave the work area, so it wraps to its
    // top and left edges (the panel is not covered).
    EXPECT_EQ(OffsetFromTaken(at(600, 600), {at(600, 600)}, 26, work), at(626, 30));
    EXPECT_EQ(OffsetFromTaken(at(820, 400), {at(820, 400)}, 26, work), at(0, 426));
    // A work area with room for two places only, both taken: it gives up after a try per
    // window rather than going round for ever, and stays inside.
    const RECT small{0, 0, 250, 200};
    EXPECT_EQ(OffsetFromTaken(at(0, 0), {at(0, 0), at(26, 26)}, 26, small), at(26, 26));
}
