#pragma once

#include "core/platform/COleDateTime.h"
#include "core/platform/Win32Types.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

// Writes the little-endian primitives of the data file into memory. The small primitives land
// in a fixed staging block first and join the output a block at a time, so a file of a hundred
// thousand notes is not built from millions of tiny appends.
class CArchiveWriter {
public:
    CArchiveWriter() = default;
    // Writes into the memory of an earlier buffer (its bytes are dropped).
    explicit CArchiveWriter(std::string&& reuse) : m_bytes(std::move(reuse)) { m_bytes.clear(); }

    void WriteInt(int32_t v) { PutLittleEndian(Stage(4), static_cast<uint32_t>(v), 4); }
    void WriteByte(uint8_t v) { *Stage(1) = static_cast<char>(v); }
    void WriteDouble(double d) { PutLittleEndian(Stage(8), std::bit_cast<uint64_t>(d), 8); }
    void WriteString(const std::string& s);
    void WriteTime(const COleDateTime& t);
    void WriteFont(const LOGFONT& f);

    const std::string& Bytes() const;
    std::string Take();
    // Room for n bytes in one allocation; large new buffers ask for huge pages.
    void Reserve(size_t n);

private:
    static constexpr size_t kStage = 4096;
    char* Stage(size_t n) {
        if (m_staged + n > kStage) Flush();
        char* p = m_stage + m_staged;
        m_staged += n;
        return p;
    }
    static void PutLittleEndian(char* p, uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            p[i] = static_cast<char>(v >> (8 * i));
    }
    void Flush() const;

    mutable std::string m_bytes;
    mutable char m_stage[kStage];
    mutable size_t m_staged = 0;
};
