#include "core/app/Globals.h"

int g_isNT = 0;
int g_timeDialogCount = 0;
int g_lastWasDoubleClick = 0;
