#pragma once

#include "core/model/CNote.h"
#include "core/model/CWeather.h"
#include "core/platform/COleDateTime.h"
#include "core/platform/Win32Types.h"

#include <algorithm>
#include <string>

// Every option value of the program, with the value it has before a data file or the options
// sheet sets it. The hub owns one; the options sheet edits a copy and copies it back.
struct CSettings {
    enum AlarmSound { SoundSpeaker = 114, SoundWave = 115, SoundMute = 116 };
    static constexpr int kSchemes = 4;

    CSettings();

    // A note as the program makes one: the default scheme's look and countdown.
    CNote NewNote() const;
    // Gives a note scheme i's colours, font and border; nothing for a scheme that is not there.
    void ApplyScheme(CNote& note, int i) const;

    // ---- alarm and general ----
    int m_alarmSound = SoundSpeaker;
    std::string m_wavePath;
    int m_checkPeriod = 5000; // ms, the period of the alarm timer
    // The range the options offer (1 to 300 s); a stored or typed value outside it is brought
    // inside: 0 would spin the alarm timer and a negative period stop it.
    static constexpr int kMinCheckPeriod = 1000, kMaxCheckPeriod = 300000;
    static int CheckPeriodWithin(int ms) {
        return std::clamp(ms, kMinCheckPeriod, kMaxCheckPeriod);
    }
    int m_stopAfter = 0; // seconds of ringing before the sound stops; 0 = never
    int m_showCountdownDefault = 0;
    int m_logEnabled = 0;
    int m_refreshPeriod = 600000; // ms; stored, but the start-up replaces it
    int m_reservedFlag = 1;

    // ---- Note Manager view ----
    int m_managerFull = 1;
    int m_showCategory = 1;
    int m_useTrash = 0;
    int m_managerExtraHeight = 0;

    // ---- schemes: what a new note copies ----
    LOGFONT m_schemeFont[kSchemes];
    COLORREF m_schemeBack[kSchemes] = {0x660066, 0x0052FD, 0xD8D8D8, 0x8000FF};
    // Pale yellow on orange and on pink was hard to read: those two are that yellow darkened
    // just enough for 4.5:1 contrast (ReadableTextColor).
    COLORREF m_schemeText[kSchemes] = {0x80FFFF, 0x142727, 0x000000, 0x0F1D1D};
    int m_schemeBorder[kSchemes] = {2, 1, 1, 0};
    int m_defaultScheme = 1;

    // ---- network ----
    int m_mailInterval = 60; // minutes; 0 = no automatic check
    COleDateTime m_lastMailCheck{1999, 1, 1, 0, 0, 0};
    int m_clockSync = 0;
    COleDateTime m_lastClockSync{1999, 1, 1, 0, 0, 0};
    int m_weatherEnabled = 0;
    COleDateTime m_lastWeatherCheck{1999, 1, 1, 0, 0, 0};
    CWeather m_weather;
};
