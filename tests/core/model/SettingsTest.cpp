#include "core/model/CSettings.h"

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
