#include "core/storage/CArchiveReader.h"

#include "core/storage/CArchiveError.h"
#include "core/storage/TextCodec.h"

#include <cmath>
#include <cstring>

const uint8_t* CArchiveReader::Take(size_t n) {
    if (n > m_size - m_pos) throw CArchiveError("unexpected end of file");
    const uint8_t* p = m_data + m_pos;
    m_pos += n;
    return p;
}

int32_t CArchiveReader::ReadInt() {
    const uint8_t* p = Take(4);
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return static_cast<int32_t>(v);
}

uint8_t CArchiveReader::ReadByte() {
    return *Take(1);
}

double CArchiveReader::ReadDouble() {
    const uint8_t* p = Take(8);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | p[i];
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::string CArchiveReader::ReadString() {
    size_t length = ReadByte();
    if (length == 0xFF) {
        const uint8_t* p = Take(2);
        length = size_t(p[0]) | size_t(p[1]) << 8;
        if (length == 0xFFFE) throw CArchiveError("unsupported wide string");
        if (length == 0xFFFF) length = static_cast<uint32_t>(ReadInt());
    }
    const uint8_t* text = Take(length);
    return TextCodec::FromStored(reinterpret_cast<const char*>(text), length);
}

COleDateTime CArchiveReader::ReadTime() {
    int32_t status = ReadInt();
    double dt = ReadDouble();
    COleDateTime t;
    t.m_dt = dt;
    if (status == COleDateTime::valid) {
        // A "valid" time outside the range cannot be shown or computed with.
        t.m_status = COleDateTime(dt).GetStatus();
    } else {
        t.m_status = status == COleDateTime::null ? COleDateTime::null : COleDateTime::invalid;
    }
    return t;
}

LOGFONT CArchiveReader::ReadFont() {
    LOGFONT f;
    f.lfHeight = ReadInt();
    f.lfWidth = ReadInt();
    f.lfEscapement = ReadInt();
    f.lfOrientation = ReadInt();
    f.lfWeight = ReadInt();
    f.lfItalic = ReadByte();
    f.lfUnderline = ReadByte();
    f.lfStrikeOut = ReadByte();
    f.lfCharSet = ReadByte();
    f.lfOutPrecision = ReadByte();
    f.lfClipPrecision = ReadByte();
    f.lfQuality = ReadByte();
    f.lfPitchAndFamily = ReadByte();
    f.lfFaceName = ReadString();
    f.lfFaceName = TextCodec::CutToCharacters(f.lfFaceName, 31);
    return f;
}

int32_t CArchiveReader::ReadCount() {
    int32_t count = ReadInt();
    if (count < 0) throw CArchiveError("negative record count");
    return count;
}
