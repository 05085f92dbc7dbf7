#include "core/manager/CNoteFind.h"

#include "core/model/CNote.h"

namespace {

// The small letter of a code point when it has a simple one.
char32_t Lower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c < 0xC0) return c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
        return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
    return c;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void FoldInto(std::string& out, std::string_view s) {
    out.clear();
    size_t i = 0;
    // The common case first: a run of plain ASCII, written in one go without decoding.
    out.resize(s.size());
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) {
        const char c = s[i];
        out[i++] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    out.resize(i);
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
            ++i;
        } else if ((b & 0xE0) == 0xC0 && i + 1 < s.size()) {
            const char32_t c = ((b & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
            Append(out, Lower(c));
            i += 2;
        } else { // longer sequences and stray bytes stay as they are
            out += s[i];
            ++i;
        }
    }
}

bool Contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

} // namespace

CNoteFind::CNoteFind(std::string_view typed) {
    const std::string folded = Fold(typed);
    size_t i = 0;
    while (i < folded.size()) {
        while (i < folded.size() && (folded[i] == ' ' || folded[i] == '\t'))
            ++i;
        size_t j = i;
        while (j < folded.size() && folded[j] != ' ' && folded[j] != '\t')
            ++j;
        if (j > i) m_words.emplace_back(folded.substr(i, j - i));
        i = j;
    }
}

std::string CNoteFind::Fold(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    FoldInto(out, text);
    return out;
}

bool CNoteFind::Matches(const CNote& note) const {
    if (m_words.empty()) return true;
    // One buffer per thread: a keystroke folds every note and must not allocate for each. The
    // longer text is folded only when the title lacks a word.
    thread_local std::string title, text;
    FoldInto(title, note.m_title);
    bool textFolded = false;
    for (const std::string& w : m_words) {
        if (Contains(title, w)) continue;
        if (!textFolded) {
            FoldInto(text, note.m_text);
            textFolded = true;
        }
        if (!Contains(text, w)) return false;
    }
    return true;
}

bool CNoteFind::Narrows(const CNoteFind& previous) const {
    // A note holding a word holds every part of it: each earlier word inside a word of this
    // find means every note found now was found before.
    for (const std::string& before : previous.m_words) {
        bool kept = false;
        for (const std::string& now : m_words)
            kept = kept || Contains(now, before);
        if (!kept) return false;
    }
    return true;
}
