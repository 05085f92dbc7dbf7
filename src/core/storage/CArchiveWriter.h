#pragma once

#include "platform/COleDateTime.h"
#include "platform/Win32Types.h"

#include <cstdint>
#include <string>

// Writes the little-endian primitives of the data file into memory.
class CArchiveWriter {
public:
    void WriteInt(int32_t v);
    void WriteByte(uint8_t v);
    void WriteDouble(double d);
    void WriteString(const std::string& s);
    void WriteTime(const COleDateTime& t);
    void WriteFont(const LOGFONT& f);

    const std::string& Bytes() const { return m_bytes; }
    std::string Take() { return std::move(m_bytes); }
    void Reserve(size_t n) { m_bytes.reserve(n); }

private:
    std::string m_bytes;
};
