#pragma once

// How many note windows ring at this moment; they share one sound, started by the first and
// stopped by the last.
extern int g_ringingCount;
