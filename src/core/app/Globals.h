#pragma once

#include "core/alarms/RingingCount.h"

// Process-wide flags and counters shared by the windows and the mail thread.
extern int g_isNT;
extern int g_timeDialogCount;
// Set by a double click on the tray icon, cleared by the button-up that follows it.
extern int g_lastWasDoubleClick;
