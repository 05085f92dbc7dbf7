#pragma once

class CTrayCore;
class IOptionsService;
struct COptionsValues;

// Runs the options sheet the way the whole program expects: with the timers stopped and no
// alarm or network check starting while it is open. On OK the values are copied back, the
// side settings and the autostart entry are written, the notes are saved and the countdowns
// redrawn; on Cancel every setting stays as it was.
class COptionsSession {
public:
    // False when the sheet may not open now (a note rings, a dialog is open, it is open).
    static bool Run(CTrayCore& core, IOptionsService& options);

private:
    static void WriteSideSettings(CTrayCore& core, const COptionsValues& values);
    static void WriteAutostart(CTrayCore& core, bool wanted);
};
