#include "core/sticky/NoteSchemes.h"
#include "core/model/CNote.h"
#include "core/model/CSettings.h"

#include <gtest/gtest.h>

namespace {
TEST(FindScheme, MatchesColoursAndFontOfTheFirstEqualScheme) {
    CSettings settings;
    CNote note;
    note.m_font = settings.m_schemeFont[1];
    note.m_backColor = settings.m_schemeBack[1];
    note.m_textColor = settings.m_schemeText[1];
    auto find = [&](auto change) {
        CNote n = note;
        change(n);
        return FindScheme(n, settings.m_schemeBack, settings.m_schemeText, settings.m_schemeFont);
    };
    EXPECT_EQ(find([](CNote&) {}), 1);
    // Every compared field breaks the match on its own; fields the schemes lack do not.
    EXPECT_EQ(find([](CNote& n) { n.m_font.lfWeight = 700; }), -1);
    EXPECT_EQ(find([](CNote& n) { n.m_font.lfHeight = -16; }), -1);
    EXPECT_EQ(find([](CNote& n) { n.m_font.lfItalic = 1; }), -1);
    EXPECT_EQ(find([](CNote& n) { n.m_font.lfWidth = 5; }), -1);
    EXPECT_EQ(find([](CNote& n) { n.m_font.lfFaceName = "Arial Black"; }), -1);
    EXPECT_EQ(find([](CNote& n) { n.m_textColor = 0; }), -1);
    EXPECT_EQ(find([](CNote& n) { n.m_font.lfUnderline = 1; }), 1);
    EXPECT_EQ(find([](CNote& n) { n.m_borderStyle = 0; }), 1);
    settings.m_schemeBack[0] = settings.m_schemeBack[1]; // two equal schemes: the first wins
    settings.m_schemeText[0] = settings.m_schemeText[1];
    EXPECT_EQ(find([](CNote&) {}), 0);
}

TEST(NoteText, LineBreaksConvertAtTheWindowBoundary) {
    EXPECT_EQ(ToDisplayText("a\r\nb\r\n\r\nc"), "a\nb\n\nc");
    EXPECT_EQ(ToStoredText("a\nb\n\nc"), "a\r\nb\r\n\r\nc");
    // Lone CRs (text from elsewhere) are line breaks too; nothing doubles on the way back.
    EXPECT_EQ(ToDisplayText("a\rb\n"), "a\nb\n");
    EXPECT_EQ(ToStoredText("a\r\nb\rc"), "a\r\nb\r\nc");
    for (std::string s : {"", "x", "\r\n", "one\r\ntwo\r\n", "\r\n\r\n\r\n"})
        EXPECT_EQ(ToStoredText(ToDisplayText(s)), s);
}
} // namespace
