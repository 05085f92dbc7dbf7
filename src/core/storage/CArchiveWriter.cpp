#include "storage/CArchiveWriter.h"

#include <cstring>

void CArchiveWriter::WriteInt(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    char b[4] = {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
    m_bytes.append(b, 4);
}

void CArchiveWriter::WriteByte(uint8_t v) {
    m_bytes.push_back(static_cast<char>(v));
}

void CArchiveWriter::WriteDouble(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = char(bits >> (8 * i));
    m_bytes.append(b, 8);
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
    m_bytes.append(s);
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
    WriteString(f.lfFaceName.size() > 31 ? f.lfFaceName.substr(0, 31) : f.lfFaceName);
}
