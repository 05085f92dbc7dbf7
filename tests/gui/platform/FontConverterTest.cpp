// Qt fonts to stored fonts: a long face name is cut where the data file cuts it, never inside a
// character.
#include "gui/platform/FontConverter.h"

#include <gtest/gtest.h>
#include <utility>

TEST(FontConverter, LongFaceNamesKeep31WholeCharacters) {
    const std::string a30(30, 'a');
    // The 31st character is two or three bytes long and would be split at byte 31.
    const std::pair<std::string, std::string> cases[] = {
        {a30 + "\xC3\xA9" + "bc", a30 + "\xC3\xA9"},
        {a30 + "\xE2\x82\xAC" + "x", a30 + "\xE2\x82\xAC"},
        {"Noto Sans", "Noto Sans"}};
    for (const auto& [family, stored] : cases) {
        QFont font;
        font.setFamily(QString::fromStdString(family));
        font.setPixelSize(13);
        EXPECT_EQ(FontConverter::FromQFont(font).lfFaceName, stored);
    }
}
