#include "core/storage/CArchiveWriter.h"

#include "core/storage/TextCodec.h"

#include <cstring>
#include <sys/mman.h>

void CArchiveWriter::Flush() const {
    m_bytes.append(m_stage, m_staged);
    m_staged = 0;
}

const std::string& CArchiveWriter::Bytes() const {
    Flush();
    return m_bytes;
}

std::string CArchiveWriter::Take() {
    Flush();
    return std::move(m_bytes);
}

void CArchiveWriter::Reserve(size_t n) {
    if (n <= m_bytes.capacity()) {
        if (m_bytes.capacity() <= 2 * n + (1u << 20)) return; // its pages are there already
        m_bytes = std::string(); // far too large for what is left: give it back
    }
    m_bytes.reserve(n);
#ifdef MADV_HUGEPAGE
    // Every fresh 4 KiB page costs a fault on first touch; for a file of tens of megabytes
    // that is a good part of a save. Only whole huge pages inside the buffer are advised.
    constexpr uintptr_t kHuge = 2u << 20;
    if (n >= 4 * kHuge) {
        auto begin = (reinterpret_cast<uintptr_t>(m_bytes.data()) + kHuge - 1) & ~(kHuge - 1);
        auto end = (reinterpret_cast<uintptr_t>(m_bytes.data()) + n) & ~(kHuge - 1);
        if (end > begin) {
            madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
            // Without huge pages, fault the range in one call instead of page by page.
            madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
        }
    }
#endif
}

void CArchiveWriter::WriteString(const std::string& s) {
    size_t n = s.size();
    if (n < 0xFF) {
        WriteByte(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteByte(static_cast<uint8_t>(n));
        WriteByte(static_cast<uint8_t>(n >> 8));
    } else {
        WriteByte(0xFF);
        WriteByte(0xFF);
        WriteByte(0xFF);
        WriteInt(static_cast<int32_t>(static_cast<uint32_t>(n)));
    }
    if (n <= kStage / 4) {
        std::memcpy(Stage(n), s.data(), n);
    } else {
        Flush();
        m_bytes.append(s);
    }
}

void CArchiveWriter::WriteTime(const COleDateTime& t) {
    WriteInt(t.m_status);
    WriteDouble(t.m_dt);
}

void CArchiveWriter::WriteFont(const LOGFONT& f) {
    WriteInt(f.lfHeight);
    WriteInt(f.lfWidth);
    WriteInt(f.lfEscapement);
    WriteInt(f.lfOrientation);
    WriteInt(f.lfWeight);
    for (uint8_t b : {f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision,
                      f.lfClipPrecision, f.lfQuality, f.lfPitchAndFamily})
        WriteByte(b);
    WriteString(TextCodec::CutToCharacters(f.lfFaceName, 31));
}
