#include "sticky/NotePlacement.h"
#include "model/CNote.h"

#include <gtest/gtest.h>

namespace {
const RECT kDesktop{0, 0, 1024, 768};

TEST(PlaceNoteWindow, NewNoteTakesTheMiddleFifthOfTheScreen) {
    CNote note;
    EXPECT_EQ(PlaceNoteWindow(note, -1, 0, 2, 1024, 768, kDesktop), (RECT{408, 306, 612, 459}));
}

TEST(PlaceNoteWindow, KnownNoteReturnsToItsRectangle) {
    CNote note;
    note.m_rectKnown = 1;
    note.m_windowRect = RECT{50, 60, 250, 200};
    EXPECT_EQ(PlaceNoteWindow(note, -1, -1, 2, 1024, 768, kDesktop), note.m_windowRect);
    // Partly off the screen is the user's choice and stays.
    note.m_windowRect = RECT{1000, -10, 1204, 143};
    EXPECT_EQ(PlaceNoteWindow(note, -1, -1, 2, 1024, 768, kDesktop), note.m_windowRect);
    // Wholly outside the desktop (saved on a larger display) comes back to its nearest edge.
    note.m_windowRect = RECT{2000, 100, 2204, 253};
    EXPECT_EQ(PlaceNoteWindow(note, -1, -1, 2, 1024, 768, kDesktop), (RECT{820, 100, 1024, 253}));
    note.m_windowRect = RECT{-500, -900, -300, -700};
    EXPECT_EQ(PlaceNoteWindow(note, -1, -1, 2, 1024, 768, kDesktop), (RECT{0, 0, 200, 200}));
}

TEST(PlaceNoteWindow, PointCentresTheWindowBelowIt) {
    CNote note;
    // Above the screen top after the border offset: moved to 0.
    EXPECT_EQ(PlaceNoteWindow(note, 500, 2, 2, 1024, 768, kDesktop), (RECT{398, 0, 602, 153}));
    note.m_rectKnown = 1;
    note.m_windowRect = RECT{0, 0, 300, 200};
    EXPECT_EQ(PlaceNoteWindow(note, 500, 300, 5, 1024, 768, kDesktop), (RECT{350, 292, 650, 492}));
}

TEST(ArrangeNotes, ShiftStacksBelowAndWrapsIntoANewColumn) {
    // Title 26 high: steps of SM_CXFRAME (4) + 26.
    auto places = ArrangeNotes(RECT{100, 100, 304, 253}, 26, 3, 1024, 768, true, false, false);
    EXPECT_EQ(places, (std::vector<PixelPoint>{{100, 130}, {100, 160}, {100, 190}}));

    // Past the screen bottom minus 18: a new column 32 to the right of the column start, at 0.
    places = ArrangeNotes(RECT{100, 700, 304, 853}, 26, 3, 1024, 768, true, false, false);
    EXPECT_EQ(places, (std::vector<PixelPoint>{{100, 730}, {132, 0}, {132, 30}}));
}

TEST(ArrangeNotes, AltGoesRightAndWrapsIntoANewRow) {
    auto places = ArrangeNotes(RECT{900, 50, 1000, 100}, 20, 3, 1024, 768, false, true, false);
    EXPECT_EQ(places, (std::vector<PixelPoint>{{972, 50}, {0, 82}, {72, 82}}));
}

TEST(ArrangeNotes, ShiftAndAltTogetherGoDiagonally) {
    auto places = ArrangeNotes(RECT{100, 100, 200, 200}, 20, 2, 1024, 768, true, true, false);
    EXPECT_EQ(places, (std::vector<PixelPoint>{{172, 124}, {244, 148}}));
}

TEST(ArrangeNotes, CtrlSpreadsOverTheRestOfTheScreen) {
    auto places = ArrangeNotes(RECT{0, 0, 200, 100}, 20, 3, 1024, 768, true, false, true);
    EXPECT_EQ(places, (std::vector<PixelPoint>{{0, 192}, {0, 384}, {0, 576}}));
    places = ArrangeNotes(RECT{0, 0, 200, 100}, 20, 3, 1024, 768, true, true, true);
    EXPECT_EQ(places, (std::vector<PixelPoint>{{256, 192}, {512, 384}, {768, 576}}));
    EXPECT_TRUE(ArrangeNotes(RECT{0, 0, 200, 100}, 20, 0, 1024, 768, true, false, true).empty());
}

TEST(ArrangeNotes, NeverLeavesAWindowBeyondTheLimits) {
    // Many windows from near the bottom-right corner, every direction.
    for (int mode = 1; mode < 8; ++mode) {
        bool shift = mode & 1, alt = mode & 2, ctrl = mode & 4;
        auto places =
            ArrangeNotes(RECT{1000, 740, 1100, 800}, 26, 200, 1024, 768, shift, alt, ctrl);
        for (auto p : places) {
            EXPECT_GE(p.x, 0);
            EXPECT_LE(p.x, 1024 - 18);
            EXPECT_GE(p.y, 0);
            EXPECT_LE(p.y, 768 - 18);
        }
    }
}
} // namespace
