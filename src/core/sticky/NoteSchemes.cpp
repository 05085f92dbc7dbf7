#include "core/sticky/NoteSchemes.h"

#include "core/model/CNote.h"

int FindScheme(const CNote& note, const COLORREF back[4], const COLORREF text[4],
               const LOGFONT fonts[4]) {
    const LOGFONT& f = note.m_font;
    for (int i = 0; i < 4; ++i) {
        const LOGFONT& s = fonts[i];
        if (note.m_backColor == back[i] && note.m_textColor == text[i] &&
            f.lfFaceName == s.lfFaceName && f.lfWeight == s.lfWeight && f.lfHeight == s.lfHeight &&
            f.lfItalic == s.lfItalic && f.lfWidth == s.lfWidth)
            return i;
    }
    return -1;
}

std::string ToDisplayText(const std::string& stored) {
    std::string out;
    out.reserve(stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
        char c = stored[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < stored.size() && stored[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string ToStoredText(const std::string& display) {
    std::string out;
    out.reserve(display.size() + display.size() / 16);
    for (size_t i = 0; i < display.size(); ++i) {
        char c = display[i];
        if (c == '\r') {
            // Already a CR LF pair, or a lone CR: either way one line break.
            out += "\r\n";
            if (i + 1 < display.size() && display[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}
