#pragma once

class CTrayCore;
class IManagerService;

// Runs the Note Manager the way the whole program expects: only when nothing else is going on,
// with the timers stopped, the note windows read-only and no alarm ringing while it is open;
// afterwards the notes are saved, the alarm check catches up with every change made and what
// fell due meanwhile rings at once.
class CManagerSession {
public:
    // False when the manager may not open now (a note rings, a dialog is open, or it is open).
    static bool Run(CTrayCore& core, IManagerService& manager);
};
