#pragma once

#include "core/platform/Win32Types.h"

#include <QFont>

// Stored fonts <-> Qt fonts, taking the screen as 96 dpi ("Arial" 10 pt = height -13).
class FontConverter {
public:
    static QFont ToQFont(const LOGFONT& lf);
    static LOGFONT FromQFont(const QFont& font);

    // The desktop's small font, 8 pt at 96 dpi: no text of the program is drawn smaller.
    static constexpr int kSmallestPixels = 11;
    static QFont Readable(QFont font);
};
