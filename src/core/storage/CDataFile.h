#pragma once

#include "core/platform/COleDateTime.h"

#include <cstddef>
#include <string>

struct CDataDocument;
class CArchiveReader;
class CArchiveWriter;
class CNote;

// The layout of "Note.Dat": settings, accounts, categories, holiday flags and notes.
class CDataFile {
public:
    // Serialises the document with its stamp; saveTime goes into the second item. The bytes
    // are written into reuse's memory when it is large enough: a buffer of tens of megabytes
    // that is new at every save costs more in fresh pages than writing it to disk does.
    static std::string Write(const CDataDocument& doc, const COleDateTime& saveTime,
                             std::string reuse = {});

    // Reads into doc, whose store must have been emptied (root category in place). What the
    // file does not hold keeps its value. Complete records are kept even when a later one is
    // broken; returns false and sets error in that case. newer is set when the file was read
    // but holds more than this version knows: an unknown version stamp, or bytes after the
    // last note (a later version's additions).
    static bool Read(CDataDocument& doc, const void* data, size_t size, std::string* error,
                     bool* newer = nullptr);

    static void WriteNote(CArchiveWriter& ar, const CNote& note);
    static void ReadNote(CArchiveReader& ar, CNote& note, int version);
};
