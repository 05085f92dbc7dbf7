#pragma once

#include <cstddef>
#include <string>

// Stored text is 8-bit: UTF-8 when it is valid UTF-8, else Windows-1252 (files from Windows).
class TextCodec {
public:
    static bool IsValidUtf8(const char* s, size_t n);
    static std::string FromStored(const char* s, size_t n);
    static std::string Cp1252ToUtf8(const char* s, size_t n);
    // At most maxChars characters of UTF-8 text, never splitting one; an incomplete sequence at
    // the end is dropped. Font face names keep 31 characters, as they always had in 8-bit text.
    static std::string CutToCharacters(const std::string& s, size_t maxChars);
};
