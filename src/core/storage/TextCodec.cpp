#include "core/storage/TextCodec.h"

#include <cstdint>

bool TextCodec::IsValidUtf8(const char* s, size_t n) {
    const auto* p = reinterpret_cast<const uint8_t*>(s);
    size_t i = 0;
    while (i < n) {
        uint8_t c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        uint32_t cp;
        if ((c & 0xE0) == 0xC0)
            len = 2, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0)
            len = 3, cp = c & 0x0F;
        else if ((c & 0xF8) == 0xF0)
            len = 4, cp = c & 0x07;
        else
            return false;
        if (len > n - i) return false;
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = cp << 6 | (p[i + k] & 0x3F);
        }
        static const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

std::string TextCodec::Cp1252ToUtf8(const char* s, size_t n) {
    // 0x80..0x9F of Windows-1252; 0 marks the five unassigned codes (kept as U+0080 block).
    static const uint16_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    out.reserve(n + n / 4);
    for (size_t i = 0; i < n; ++i) {
        uint8_t c = static_cast<uint8_t>(s[i]);
        uint32_t cp = c;
        if (c >= 0x80 && c < 0xA0 && high[c - 0x80]) cp = high[c - 0x80];
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | cp >> 6));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | cp >> 12));
            out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::string TextCodec::FromStored(const char* s, size_t n) {
    if (IsValidUtf8(s, n)) return std::string(s, n);
    return Cp1252ToUtf8(s, n);
}

std::string TextCodec::CutToCharacters(const std::string& s, size_t maxChars) {
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    const size_t n = s.size();
    size_t i = 0;
    for (size_t chars = 0; i < n && chars < maxChars; ++chars) {
        uint8_t c = p[i];
        size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        if (len > n - i) break; // cut short before it came here
        for (size_t k = 1; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80) len = 1; // not UTF-8 after all: one byte, one char
        i += len;
    }
    return s.substr(0, i);
}
