#pragma once

#include "core/platform/COleDateTime.h"
#include "core/platform/Win32Types.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Reads the little-endian primitives of the data file from memory. Every length is checked
// against the bytes left before anything is allocated; a short or malformed stream throws
// CArchiveError.
class CArchiveReader {
public:
    CArchiveReader(const void* data, size_t size)
        : m_data(static_cast<const uint8_t*>(data)), m_size(size) {}

    int32_t ReadInt();
    uint8_t ReadByte();
    double ReadDouble();
    std::string ReadString();
    COleDateTime ReadTime();
    LOGFONT ReadFont();
    // A count of records; refuses a negative one. The records behind it are read one by one,
    // so a count larger than the file costs nothing before the stream runs out.
    int32_t ReadCount();

    size_t Position() const { return m_pos; }
    size_t Remaining() const { return m_size - m_pos; }

private:
    const uint8_t* Take(size_t n);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};
