#pragma once

#include "platform/COleDateTime.h"

#include <cstddef>
#include <string>

class CTrayCore;
class CArchiveReader;
class CArchiveWriter;
class CNote;

// The layout of "Note.Dat": settings, accounts, categories, holiday flags and notes.
class CDataFile {
public:
    // Serialises everything with the current stamp; saveTime goes into the second item.
    static std::string Write(const CTrayCore& tray, const COleDateTime& saveTime);

    // Reads into tray, which must have been emptied (root category in place). Complete records
    // are kept even when a later one is broken; returns false and sets error in that case.
    static bool Read(CTrayCore& tray, const void* data, size_t size, std::string* error);

    static void WriteNote(CArchiveWriter& ar, const CNote& note);
    static void ReadNote(CArchiveReader& ar, CNote& note, int version);
};
