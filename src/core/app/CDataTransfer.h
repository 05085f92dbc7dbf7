#pragma once

class CTrayCore;

// The menu's Export and Import: a copy of "Note.Dat" to a file the user picks, and a picked
// file in its place (then loaded). The state shows a file transfer while the dialogs are open.
class CDataTransfer {
public:
    static void Export(CTrayCore& hub);
    static void Import(CTrayCore& hub);
};
