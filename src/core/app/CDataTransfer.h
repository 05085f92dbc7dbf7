#pragma once

#include <cstddef>

class CTrayCore;

// The menu's Export and Import: the data as it stands written to a file the user picks, and a
// picked file, once read and checked completely, in place of "Note.Dat" (then loaded). The
// state shows a file transfer while the dialogs are open.
class CDataTransfer {
public:
    static constexpr size_t kMaxImportBytes = size_t{256} << 20;

    static void Export(CTrayCore& hub);
    static void Import(CTrayCore& hub);
};
