#pragma once

#include "app/CTrayCore.h"
#include "support/Fakes.h"

// A tray core whose later subsystems only count their calls.
struct CountingCore : CTrayCore {
    int managerOpens = 0, weatherChecks = 0, destroys = 0;
    void OpenManager() override { ++managerOpens; }
    void CheckWeather() override { ++weatherChecks; }
    void DestroyWindow() override { ++destroys; }
    void RunMailThread() override {} // keeps m_mailTarget as a running check would
};
