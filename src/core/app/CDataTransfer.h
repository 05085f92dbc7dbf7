#pragma once

#include <cstddef>

class CTrayCore;
struct CDataDocument;

// The menu's Export and Import: the data as it stands written to a file the user picks, and a
// picked file, once read and checked completely, in place of "Note.Dat" (then loaded), or, from
// a conflict copy, only its notes that the current data lacks. The
// state shows a file transfer while the dialogs are open.
class CDataTransfer {
public:
    static constexpr size_t kMaxImportBytes = size_t{256} << 20;

    static void Export(CTrayCore& hub);
    // A kept conflict copy may instead give only the notes the current data lacks.
    static void Import(CTrayCore& hub);
    // Adds the notes of from that hub has no identical copy of; returns how many.
    static int AddMissingNotes(CTrayCore& hub, CDataDocument& from);
};
