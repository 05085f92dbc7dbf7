#include "core/alarms/RingingCount.h"

int g_ringingCount = 0;
