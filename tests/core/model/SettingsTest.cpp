#include "core/model/CSettings.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

TEST(Settings, NewNotesAndSchemesTakeColoursFontBorderAndCountdown) {
    CSettings s;
    s.m_schemeFont[2].lfFaceName = "Courier";
    s.m_showCountdownDefault = 1;
    CNote n;
    s.ApplyScheme(n, 2);
    EXPECT_EQ(n.m_backColor, s.m_schemeBack[2]);
    EXPECT_EQ(n.m_textColor, s.m_schemeText[2]);
    EXPECT_EQ(n.m_font.lfFaceName, "Courier");
    EXPECT_EQ(n.m_borderStyle, s.m_schemeBorder[2]);
    s.ApplyScheme(n, 4); // out of range: nothing changes
    EXPECT_EQ(n.m_backColor, s.m_schemeBack[2]);

    s.m_defaultScheme = 2;
    EXPECT_EQ(s.NewNote().m_font.lfFaceName, "Courier");
    EXPECT_EQ(s.NewNote().m_showCountdown, 1);
    s.m_defaultScheme = 9; // from a damaged file: the first scheme
    EXPECT_EQ(s.NewNote().m_backColor, s.m_schemeBack[0]);
}

// A note's window link is no part of its value: a copy has no window, taking another note's
// contents keeps the window it has, and only the window that is linked can unlink itself.
TEST(NoteWindowLink, ACopyHasNoWindowAndAssigningKeepsOne) {
    FakeWindowFactory windows;
    CNote a, b;
    a.OpenWindow(-1, -1, false, windows);
    INoteWindow* const window = a.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CNote(a).Window(), nullptr);
    b.m_title = "From elsewhere";
    a = b;
    EXPECT_EQ(a.Window(), window);
    EXPECT_EQ(a.m_title, "From elsewhere");
    FakeNoteWindow stranger(a);
    a.WindowGone(&stranger);
    EXPECT_EQ(a.Window(), window);
    a.CloseWindow();
    EXPECT_EQ(a.Window(), nullptr);
    EXPECT_TRUE(windows.windows[0]->destroyed);
}
