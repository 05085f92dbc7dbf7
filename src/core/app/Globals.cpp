#include "app/Globals.h"

int g_isNT = 0;
std::atomic<int> g_mailBusy{0};
int g_weatherBusy = 0;
int g_timeDialogCount = 0;
int g_lastWasDoubleClick = 0;
