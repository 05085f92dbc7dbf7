#include "core/model/CSettings.h"

CSettings::CSettings() {
    for (LOGFONT& f : m_schemeFont)
        f = DefaultSchemeFont();
}

CNote CSettings::NewNote() const {
    CNote note;
    // A stored default outside the range (a damaged file) falls back to the first scheme.
    ApplyScheme(note, m_defaultScheme >= 0 && m_defaultScheme < kSchemes ? m_defaultScheme : 0);
    note.m_showCountdown = m_showCountdownDefault;
    return note;
}

void CSettings::ApplyScheme(CNote& note, int i) const {
    if (i < 0 || i >= kSchemes) return;
    note.m_backColor = m_schemeBack[i];
    note.m_textColor = m_schemeText[i];
    note.m_font = m_schemeFont[i];
    note.m_borderStyle = m_schemeBorder[i];
}
