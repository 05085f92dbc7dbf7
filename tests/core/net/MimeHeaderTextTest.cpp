#include "core/net/MimeHeaderText.h"

#include <gtest/gtest.h>

TEST(MimeHeaderText, EncodedWordsAreDecodedAndBadOnesShownAsWritten) {
    const struct {
        const char *raw, *shown;
    } cases[] = {
        {" plain text", " plain text"},
        {"=?UTF-8?B?SGFsbMO2IFfDtnJsZA==?=", "Hallö Wörld"},
        {"=?utf-8?q?caf=C3=A9_au_lait?=", "café au lait"},
        {"=?ISO-8859-1?Q?Andr=E9?= <andre@example.com>", "André <andre@example.com>"},
        {"=?iso-8859-2?b?xeF1?=", "Ĺáu"},
        {"=?windows-1252?Q?=80_5?=", "€ 5"},
        {"=?Windows-1251?B?z/Do4uXy?=", "Привет"},
        {"=?ISO-8859-7*el?Q?=E1?=", "α"}, // with a language
        // The blank between two encoded words goes; a character split between them is whole.
        {"=?UTF-8?B?4oI=?= =?UTF-8?B?rA==?= left", "€ left"},
        {"=?UTF-8?Q?a?=  =?ISO-8859-1?Q?=E9?=", "aé"},
        {"a =?UTF-8?Q?b?= c", "a b c"},
        // Not decodable: left as written, never dropped.
        {"=?x-unknown?Q?abc?=", "=?x-unknown?Q?abc?="},
        {"=?UTF-7?B?K0FHRS0=?=", "=?UTF-7?B?K0FHRS0=?="}, // stateful charsets are not asked
        {"=?UTF-8?B?#$%?=", "=?UTF-8?B?#$%?="},
        {"=?UTF-8?Q?=ZZ?=", "=?UTF-8?Q?=ZZ?="},
        {"=?UTF-8?B?/w==?=", "=?UTF-8?B?/w==?="}, // not UTF-8
        {"=?UTF-8?B?4oI=?= =?UTF-8?B?#?=", "=?UTF-8?B?4oI=?= =?UTF-8?B?#?="},
        {"=?UTF-8?X?abc?=", "=?UTF-8?X?abc?="},
        {"=?UTF-8?Q?open", "=?UTF-8?Q?open"},
        {"=?", "=?"},
        // Raw 8-bit text that is not UTF-8 is taken as Latin-1.
        {"Jos\xE9", "José"},
        // Cut at a control character, decoded or raw, with a visible mark; tabs are blanks.
        {"Eve=?UTF-8?Q?=00?=<eve@evil.example>", "Eve…"},
        {"a\tb\x01hidden", "a b…"},
        {"x\xC2\x85y", "x…"}, // C1 control
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShownHeaderField(c.raw), c.shown) << c.raw;

    // 1,000 characters at most, counted as characters, not bytes.
    std::string many;
    for (int i = 0; i < 1200; ++i)
        many += "\xC3\xA9";
    std::string expected;
    for (int i = 0; i < 1000; ++i)
        expected += "\xC3\xA9";
    EXPECT_EQ(ShownHeaderField(many), expected + "…");
    // Text past the bytes read counts as cut, even when what was read is short once decoded.
    std::string words;
    for (int i = 0; i < 220; ++i)
        words += "=?utf-8*" + std::string(60, 'x') + "?Q?a?="; // 74 bytes, one letter
    const std::string blanks(kMaxRawField - words.size(), ' ');
    EXPECT_EQ(ShownHeaderField(words + blanks + "hidden"), std::string(220, 'a') + blanks + "…");
}
