#pragma once

#include "calendar/CHolidayTable.h"
#include "model/CNote.h"
#include "model/CTreeNode.h"
#include "net/CMailAccount.h"
#include "net/CWeather.h"
#include "platform/COleDateTime.h"
#include "platform/Win32Types.h"

#include <cstdio>
#include <string>
#include <vector>

class IDialogs;
class INoteWindowFactory;
class ISound;
class ITimerHost;
class ITrayIcon;

// The owner of all data and the hub of all periodic work. The GUI's tray window derives from
// it and supplies the platform services; tests supply fakes.
class CTrayCore {
public:
    enum TrayState {
        StateRinging = 191,
        StateManagerOpen = 192,
        StateOptionsOpen = 193,
        StateIdle = 194,
        StateStarting = 195,
        StateExiting = 198,
        StateFileTransfer = 199,
    };
    enum TimerId { TimerCheck = 105, TimerRefresh = 123, TimerExitWait = 197, TimerClick = 201 };
    static constexpr int kFileVersion = -19991201;

    CTrayCore();
    virtual ~CTrayCore();
    CTrayCore(const CTrayCore&) = delete;
    CTrayCore& operator=(const CTrayCore&) = delete;

    // ---- platform services (not owned) ----
    IDialogs* m_dialogs = nullptr;
    INoteWindowFactory* m_windowFactory = nullptr;
    ISound* m_sound = nullptr;
    ITimerHost* m_timers = nullptr;
    ITrayIcon* m_tray = nullptr;

    // ---- data ----
    std::vector<CNote*> m_notes;
    std::vector<CTreeNode*> m_categories;
    std::vector<CMailAccount*> m_mailAccounts;
    CHolidayTable m_holidays;
    CWeather m_weather;
    int m_state = StateStarting;
    COleDateTime m_earliestAlarm{2200, 1, 1, 0, 0, 0};
    FILE* m_logFile = nullptr;
    int m_trayIcon = 0;
    int m_pendingClickKeys = 0;
    int m_mailCountdown = 30000;
    int m_weatherCountdown = 30000;
    int m_clockSyncCountdown = 30000;
    int m_refreshPeriod = 600000;
    int m_mailTarget = -1;
    int m_mailManual = 0;
    int m_fileVersion = kFileVersion;
    COleDateTime m_lastSaveTime{0.0};

    // ---- settings ----
    int m_alarmSound = 114; // 114 speaker, 115 wave file, 116 mute
    std::string m_wavePath;
    int m_checkPeriod = 5000;
    int m_stopAfter = 0;
    int m_showCountdownDefault = 0;
    int m_logEnabled = 0;
    int m_reservedFlag = 1;
    int m_managerFull = 1;
    int m_showCategory = 1;
    int m_useTrash = 0;
    int m_managerExtraHeight = 0;
    LOGFONT m_schemeFont[4];
    COLORREF m_schemeBack[4] = {0x660066, 0x0052FD, 0xD8D8D8, 0x8000FF};
    COLORREF m_schemeText[4] = {0x80FFFF, 0x80FFFF, 0x000000, 0x80FFFF};
    int m_schemeBorder[4] = {2, 1, 1, 0};
    int m_defaultScheme = 1;
    int m_mailInterval = 60;
    COleDateTime m_lastMailCheck{1999, 1, 1, 0, 0, 0};
    int m_clockSync = 0;
    COleDateTime m_lastClockSync{1999, 1, 1, 0, 0, 0};
    int m_weatherEnabled = 0;
    COleDateTime m_lastWeatherCheck{1999, 1, 1, 0, 0, 0};

    // ---- storage ----
    // The folder of "Note.Dat" and "Log.txt", ending in '/'.
    static std::string ProgramFolder();
    std::string DataPath() const { return ProgramFolder() + "Note.Dat"; }
    void LoadData();
    // Writes "Note.Dat" atomically; on failure tells the user and keeps the old file.
    bool SaveData();
    void ExportData();
    void ImportData();
    void DeleteAllData();

    // ---- start, run, stop ----
    // Everything of the start-up after the tray icon is shown.
    void Startup();
    void ShutdownSave();
    void StartTimers();
    void StopTimers();
    void OnTimer(int id);
    int m_exitWaitTicks = 0;

    // ---- notes ----
    void NewNote();
    void RefreshDueFlags();
    void ComputeEarliestAlarm();
    void OfferAlarmTime(const COleDateTime& t);
    void PullNoteTexts();
    void ShowNotesReadOnly(bool readOnly);
    void CloseNoteWindows(bool keepPosted);
    void BringNotesToTop();
    void UpdateCountdowns();

    // ---- alarms ----
    virtual void CheckAlarms();
    void OpenLogFile();
    void WriteLogLine(const CNote& note);

    // ---- later subsystems; the defaults do nothing ----
    virtual void StartMailCheck(int target, int manual);
    // Runs the mail check for m_mailTarget; until mail checking exists the check ends at once,
    // so no account stays greyed as "being checked".
    virtual void RunMailThread() { m_mailTarget = -1; }
    virtual void CheckWeather();
    virtual bool SyncClock();
    virtual bool IsOnline();
    // Whether this process may set the system clock.
    virtual bool CanSetClock();
    // Called when the exit wait is over and the window should go away.
    virtual void DestroyWindow() {}
    // The Note Manager (plain tray click, menu "Note Manager"): opens only while m_state is
    // 194 and no time-setting dialog is open. Nothing to open until the manager exists.
    virtual void OpenManager() {}
    // The options sheet (menu "Options").
    virtual void OpenOptions() {}

protected:
    void OnCheckTimer();
    void OnRefreshTimer();
    void OnExitWaitTimer();
    void SetDefaultSchemeFonts();

    COleDateTime m_lastRefresh{0.0};
    bool m_refreshSeen = false;
};
