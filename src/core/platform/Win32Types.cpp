#include "core/platform/Win32Types.h"

LOGFONT DefaultSchemeFont() {
    LOGFONT f;
    f.lfHeight = -13; // 10 pt at 96 dpi: -(10 * 96 / 72) rounded
    f.lfWeight = 400;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 2;
    f.lfQuality = 1;
    f.lfPitchAndFamily = 34;
    f.lfFaceName = "Arial";
    return f;
}
