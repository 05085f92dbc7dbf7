#include "gui/platform/FontConverter.h"

#include "core/storage/TextCodec.h"

#include <cmath>
#include <cstdlib>

QFont FontConverter::ToQFont(const LOGFONT& lf) {
    QFont f(QString::fromStdString(lf.lfFaceName.empty() ? "Arial" : lf.lfFaceName));
    // A negative height is the character height; a positive one includes the internal leading,
    // which for common faces is about an eighth more.
    int px = lf.lfHeight < 0 ? -lf.lfHeight : (lf.lfHeight > 0 ? lf.lfHeight * 7 / 8 : 13);
    f.setPixelSize(std::max(1, px));
    f.setWeight(lf.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    return f;
}

QFont FontConverter::Readable(QFont font) {
    if (font.pixelSize() > 0 && font.pixelSize() < kSmallestPixels)
        font.setPixelSize(kSmallestPixels);
    else if (font.pixelSize() <= 0 && font.pointSizeF() > 0 && font.pointSizeF() < 8.0)
        font.setPointSizeF(8.0);
    return font;
}

LOGFONT FontConverter::FromQFont(const QFont& font) {
    LOGFONT lf = DefaultSchemeFont();
    int px = font.pixelSize() > 0 ? font.pixelSize()
                                  : static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    lf.lfHeight = -px;
    lf.lfWeight = font.bold() ? 700 : 400;
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    // The data file keeps 31 characters of a face name; a cut inside a character would store
    // text that is no longer UTF-8.
    lf.lfFaceName = TextCodec::CutToCharacters(font.family().toStdString(), 31);
    return lf;
}
