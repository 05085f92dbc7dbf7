#pragma once

#include "core/app/CTrayCore.h"
#include "core/manager/IManagerService.h"
#include "core/manager/IOptionsService.h"
#include "core/net/IClockSyncService.h"
#include "core/net/IMailService.h"
#include "core/net/INetworkStatus.h"
#include "core/net/IWeatherService.h"
#include "core/sync/ISyncService.h"
#include "support/Fakes.h"

#include <string>
#include <utility>
#include <vector>

// The features the hub starts, recording what was asked of them. A mail check started here
// keeps running (the target stays set) until the test ends it.
struct FakeServices : IManagerService,
                      IOptionsService,
                      IMailService,
                      IWeatherService,
                      IClockSyncService,
                      INetworkStatus,
                      ISyncService {
    int managerOpens = 0, managerRaises = 0, optionsOpens = 0, weatherChecks = 0,
        manualWeatherChecks = 0, syncs = 0;
    std::string weatherFailure;
    int measures = 0;
    std::vector<std::pair<int, int>> mailChecks; // target, manual
    bool online = true, syncResult = true, canSetClock = false;
    bool mailRunning = false, weatherRunning = false;

    void OpenManager() override { ++managerOpens; }
    void RaiseManager() override { ++managerRaises; }
    Result OpenOptions(COptionsValues&) override {
        ++optionsOpens;
        return {};
    }
    void RunMailCheck(int target, int manual) override { mailChecks.emplace_back(target, manual); }
    void CheckWeather(bool manual) override {
        ++weatherChecks;
        manualWeatherChecks += manual;
    }
    std::string LastFailure() const override { return weatherFailure; }
    bool MailCheckRunning() const override { return mailRunning; }
    bool FetchRunning() const override { return weatherRunning; }
    bool SyncClock() override {
        ++syncs;
        return syncResult;
    }
    bool CanSetClock() override { return canSetClock; }
    void MeasureClock() override { ++measures; }
    std::string ClockStatus() const override { return "measured"; }
    bool IsOnline() override { return online; }
    int notesSaved = 0, rescans = 0, syncNows = 0;
    bool syncCommand = false;
    void NotesSaved() override { ++notesSaved; }
    void Rescan() override { ++rescans; }
    bool CanSyncNow() override { return syncCommand; }
    void SyncNow() override { ++syncNows; }

    HubServices Hub() { return {this, this, this, this, this, this, this}; }
};

// Every platform service as a recording fake, and the feature services.
struct FakePlatform {
    FakeDialogs dialogs;
    FakeWindowFactory windows;
    FakeTimers timers;
    FakeSound sound;
    FakeTray tray;
    FakeServices services;

    // windows: another window factory to use instead of the plain fake windows.
    PlatformServices Services(INoteWindowFactory* otherWindows = nullptr) {
        return {&dialogs, otherWindows ? otherWindows : &windows, &sound, &timers, &tray};
    }
};

// A hub wired to a fake platform, idle, with no automatic mail check. The platform must
// outlive it: the hub closes the note windows when it goes.
struct FakeHub : CTrayCore {
    explicit FakeHub(FakePlatform& platform, INoteWindowFactory* otherWindows = nullptr) {
        SetPlatform(platform.Services(otherWindows));
        SetServices(platform.services.Hub());
        SetState(StateIdle);
        settings().m_mailInterval = 0;
    }
    int destroys = 0;
    void DestroyWindow() override { ++destroys; }
};
