#pragma once

#include "core/calendar/CHolidayTable.h"
#include "core/model/CSettings.h"
#include "core/platform/COleDateTime.h"
#include "core/storage/CSideSettings.h"

#include <functional>
#include <string>

// What the options sheet edits: a copy of the settings in the form its pages show them,
// filled from the settings and copied back only when the sheet is confirmed.
struct COptionsValues {
    // ---- Alarm ----
    int alarmSound = CSettings::SoundSpeaker; // the radio button chosen
    std::string wavePath;
    int checkSeconds = 5;
    bool stopAfterOn = false;
    int stopAfterSeconds = 60;
    bool countdownDefault = false;

    // ---- Note ----
    LOGFONT schemeFont[CSettings::kSchemes];
    COLORREF schemeBack[CSettings::kSchemes] = {};
    COLORREF schemeText[CSettings::kSchemes] = {};
    int schemeBorder[CSettings::kSchemes] = {};
    int selectedScheme = 0; // becomes the default scheme
    bool logEnabled = false;

    // ---- Email ----
    bool mailAutoCheck = false;
    int mailHours = 1, mailMinutes = 0;
    // A stored interval longer than the page offers (minutes), which OK shortens; 0 if none.
    int mailIntervalCutFrom = 0;

    // ---- Holidays ----
    int holidayFlags[CHolidayTable::kCount] = {};

    // ---- Other ----
    bool clockSync = false;
    bool canSetClock = false; // without the right to set the clock the box stays off
    // The clock's measured offset or why it could not be measured; the first call starts a
    // measurement in the background, later ones see its result. Null: nothing to show.
    std::function<std::string()> clockStatus;
    bool weatherEnabled = false;
    std::string country, state, city, zipCode;
    bool centigrade = false;
    // Kept beside "Note.Dat" (jotterly.conf) and in the autostart folder, not in the data file.
    std::string weatherSource = CSideSettings::kOpenMeteo;
    // The classic source has no public server: it is offered only when jotterly.conf names one.
    bool classicServerSet = false;
    bool desktopNotifications = true;
    int backupKeep = CSideSettings::kDefaultBackupKeep;
    std::string syncFolder; // empty: no sync folder
    bool autostart = false;

    static COptionsValues From(const CSettings& s, const CHolidayTable& holidays);

    // What the hub must do after the copy back, beyond the settings themselves.
    struct Effects {
        bool mailCountdownSet = false;
        int mailCountdownMs = 0;
        bool clockSyncTurnedOn = false;   // the first synchronisation is due soon
        bool weatherPlaceChanged = false; // the stored report is stale: fetch soon
    };
    Effects ApplyTo(CSettings& s, CHolidayTable& holidays, const COleDateTime& now) const;

    // The scheme start values (the Note page's Reset).
    void ResetSchemes();

    // ---- jotterly.conf ----
    void ReadSide(const CSideSettings& side);
    void WriteSide(CSideSettings& side) const;
};
