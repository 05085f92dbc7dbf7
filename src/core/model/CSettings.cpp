#include "model/CSettings.h"

CSettings::CSettings() {
    for (LOGFONT& f : m_schemeFont)
        f = DefaultSchemeFont();
}
