#include "model/CNote.h"

// Stepping of Every notes. Replaced by the full recurrence arithmetic (see the alarm-timing
// work); until then an Every note keeps its stored times.
void CNote::StepEvery(const COleDateTime&) {}
