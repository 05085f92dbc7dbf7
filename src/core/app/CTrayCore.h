#pragma once

#include "core/alarms/CAlarmCheck.h"
#include "core/alarms/IAlarmHost.h"
#include "core/app/CCheckCountdown.h"
#include "core/app/CDataSafety.h"
#include "core/app/CDataTransfer.h"
#include "core/app/CFailedSave.h"
#include "core/app/COfflineWait.h"
#include "core/app/COutsideChange.h"
#include "core/app/CSaveDebounce.h"
#include "core/app/CTrayTip.h"
#include "core/app/HubServices.h"
#include "core/app/ILaunchHost.h"
#include "core/ical/CNoteIdentity.h"
#include "core/mail/IMailHost.h"
#include "core/manager/IManagerHost.h"
#include "core/model/CDataDocument.h"
#include "core/model/TrayState.h"
#include "core/net/IClockSyncHost.h"
#include "core/net/IMailService.h"
#include "core/net/IWeatherHost.h"
#include "core/options/IOptionsHost.h"
#include "core/platform/PlatformServices.h"
#include "core/platform/ProgramFolder.h"
#include "core/sticky/IStickyHost.h"
#include "core/storage/CSideSettingsStore.h"
#include "core/sync/ISyncHost.h"

#include <functional>
#include <string>

// The owner of all data and the hub of all periodic work. The GUI's tray window derives from
// it and supplies the platform services; the features it starts come in as services, each
// seeing the hub only through its own small host interface.
class CTrayCore : public IAlarmHost,
                  public IClockSyncHost,
                  public IWeatherHost,
                  public IMailHost,
                  public IOptionsHost,
                  public IManagerHost,
                  public IStickyHost,
                  public ISyncHost,
                  public ILaunchHost {
public:
    using enum TrayState;
    enum TimerId {
        TimerCheck = 105,
        TimerRefresh = 123,
        TimerExitWait = 197,
        TimerClick = 201,
        TimerAutoSave = 211,
        TimerSaveRetry = 212
    };
    static constexpr int kFileVersion = CDataDocument::kFileVersion;
    // The countdowns of the network checks start here when nothing else sets them.
    static constexpr int kFirstCheckMs = CCheckCountdown::kFirstCheckMs;

    using Countdowns = CCheckCountdown::Countdowns;

    CTrayCore();
    ~CTrayCore() override;
    CTrayCore(const CTrayCore&) = delete;
    CTrayCore& operator=(const CTrayCore&) = delete;

    void SetPlatform(const PlatformServices& platform) { m_platform = platform; }
    const PlatformServices& Platform() const override { return m_platform; }
    void SetServices(const HubServices& services) { m_services = services; }

    // ---- data ----
    const CSettings& settings() const override { return m_data.m_settings; }
    CSettings& settings() override { return m_data.m_settings; }
    CNoteStore& Store() override { return m_data.m_store; }
    const CNoteStore& Store() const { return m_data.m_store; }
    CHolidayTable& Holidays() override { return m_data.m_holidays; }
    const CDataDocument& Data() const { return m_data; }
    // Every note's stable identity, kept beside the data file.
    const CNoteIdentity& Identity() const override { return m_identity; }
    // "jotterly.conf": read once, written only through ChangeSide.
    const CSideSettings& Side() const override { return m_side.Get(); }
    bool ChangeSide(const std::function<void(CSideSettings&)>& change,
                    std::string* reason = nullptr) override {
        return m_side.Change(change, reason);
    }
    IAlarmHost& AlarmHost() override { return *this; }

    // ---- run-time state ----
    int State() const override { return m_state; }
    void SetState(int state) override { m_state = state; }
    CAlarmCheck& Alarms() override { return m_alarms; }
    Countdowns& countdowns() { return m_countdowns; }
    int& MailCountdown() override { return m_countdowns.mail; }
    int& WeatherCountdown() override { return m_countdowns.weather; }
    int& ClockCountdown() override { return m_countdowns.clockSync; }
    // The keys held at a single click on the icon, kept until the click is delivered.
    int PendingClickKeys() const { return m_pendingClickKeys; }
    void SetPendingClickKeys(int keys) { m_pendingClickKeys = keys; }

    // ---- storage ----
    std::string DataPath() const override { return ProgramFolder() + "Note.Dat"; }
    void LoadData();
    // Writes "Note.Dat" atomically; on failure tells the user (once), keeps the old file and
    // tries again later. A file another program put in its place meanwhile is reloaded when
    // nothing here changed, else kept aside (COutsideChange).
    bool SaveData() override;
    // Puts bytes in place of "Note.Dat" with the same care (moving an unreadable file aside,
    // leaving a read-only one, keeping an outside change, the day's backup).
    bool WriteDataFile(const std::string& bytes, bool mayReload = false);
    // Why the last save did not write ("" after one that did).
    const std::string& SaveError() const { return m_failedSave.Reason(); }
    // The session asks for the data on disk; the program runs on.
    bool SessionSave() { return SaveData(); }
    // A note's text, title, position or state changed: saved a few seconds after the last one.
    void NoteChanged() override { m_autoSave.Changed(m_platform.timers); }
    void ExportData() { CDataTransfer::Export(*this); }
    void ImportData() { CDataTransfer::Import(*this); }
    void DeleteAllData() { m_data.m_store.Clear(); }

    // ---- start, run, stop ----
    // Everything of the start-up after the tray icon is shown.
    void Startup();
    bool ShutdownSave();
    // Exit's save: true when the program may end. When the save did not write, the user
    // chooses: try again, save a copy elsewhere, quit without saving (confirmed), or keep the
    // program running (the icon, the timers and the note windows come back).
    bool FinishExit();
    void StartTimers();
    void StopTimers();
    void OnTimer(int id);
    // The computer woke from suspend: due reminders are looked for at once.
    void OnResume();
    // Waits (TimerExitWait) for the running mail check before the window goes away.
    void StartExitWait();

    // ---- notes ----
    void NewNote();
    void OpenPostedWindows();
    void ShowNotesReadOnly(bool readOnly);
    void CloseNoteWindows(bool keepPosted);
    void BringNotesToTop();
    void UpdateCountdowns();

    // ---- features run by the services ----
    void OpenManager();
    void OpenOptions();
    // Checks one account (its index) or all (IMailService::kAllAccounts) unless one runs.
    void StartMailCheck(int target, int manual);
    // The running check's target (greyed in the menu), or IMailService::kNoCheck.
    int MailTarget() const { return m_mailTarget; }
    int MailManual() const { return m_mailManual; }
    bool MailCheckRunning() const override {
        return m_services.mail && m_services.mail->MailCheckRunning();
    }
    // The mail service's word that its check ended; an exit that waited for it goes on.
    void EndMailCheck() override;
    void StopMailCheck() {
        if (m_services.mail) m_services.mail->StopMailCheck();
    }
    void CheckWeather(bool manual = false);
    // Why the last weather fetch failed; empty when it did not.
    std::string WeatherFailure() const;
    bool CanSetClock();
    IClockSyncService* ClockService() const { return m_services.clock; }
    ISyncService* SyncService() const { return m_services.sync; }

    // Called when the exit wait is over and the window should go away.
    virtual void DestroyWindow() {}

    // The tray icon's tooltip under the hint the icon is shown with.
    const CTrayTip& Tip() const { return m_tip; }
    void SetTipLine(CTrayTip::Topic topic, const std::string& line);
    void SetClockTip(const std::string& line) override { SetTipLine(CTrayTip::Clock, line); }
    void WriteLog(const std::string& line) override { m_alarms.WriteLogText(line); }
    bool RunCalendarWord(const std::string& word, const std::string& file,
                         std::string& message) override;
    // The tip's lines changed: the icon shows them (the GUI's tray window).
    virtual void TipChanged() {}

private:
    void OnCheckTimer();
    void OnRefreshTimer();
    void OnClockJumped();
    // The refresh timer's period for the time of day: shorter in the evening.
    void ScheduleRefresh(const COleDateTime& now);
    void OnExitWaitTimer();
    // The outside version of the file holds everything: it is read, windows follow.
    void ReloadData();
    // The network countdowns follow from the "last" times the data file held.
    void DeriveCountdowns();
    bool IsOnline();
    bool SyncClock();

    PlatformServices m_platform;
    HubServices m_services;
    CDataDocument m_data;
    CAlarmCheck m_alarms{*this};
    CDataSafety m_safety;
    CSideSettingsStore m_side;
    COutsideChange m_outside;
    CFailedSave m_failedSave;
    CSaveDebounce m_autoSave{TimerAutoSave};
    std::string m_saveBuffer; // the last save's bytes; its memory serves the next save
    CNoteIdentity m_identity;
    int m_state = StateStarting;
    Countdowns m_countdowns;
    int m_pendingClickKeys = 0;
    COfflineWait m_offline;
    CTrayTip m_tip;
    int m_mailTarget = IMailService::kNoCheck;
    int m_mailManual = 0;
    int m_exitWaitTicks = 0;
    COleDateTime m_lastRefresh{0.0};
    bool m_refreshSeen = false;
};
