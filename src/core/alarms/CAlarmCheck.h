#pragma once

#include "core/alarms/CClockJumpDetector.h"
#include "core/platform/COleDateTime.h"

#include <cstdio>
#include <string>

class CNote;
class IAlarmHost;

// Finds the notes whose alarm is due and makes their windows ring; keeps the earliest alarm
// so that the timer only walks the notes when one may be due, and writes the alarm log.
class CAlarmCheck {
public:
    explicit CAlarmCheck(IAlarmHost& host) : m_host(host) {}
    ~CAlarmCheck();
    CAlarmCheck(const CAlarmCheck&) = delete;
    CAlarmCheck& operator=(const CAlarmCheck&) = delete;

    // One tick of the alarm timer: checks the notes when the earliest alarm falls within two
    // timer periods, unless the Note Manager or the options sheet is open. When the wall clock
    // jumped since the last tick (a suspend, a clock or time-zone change) the due-soon flags
    // and the earliest alarm are computed afresh first, so what fell due rings on this tick.
    // Returns whether the clock jumped.
    bool OnTick();
    // The due-soon flags and the earliest alarm for the present time, from scratch.
    void Resync();
    // Opens the window of every due note whose alarm is past and starts it ringing.
    void CheckAlarms();
    // Sets every note's due-soon flag for the present time.
    void RefreshDueFlags();
    void ComputeEarliestAlarm();
    // Brings the next check forward to t when t is earlier.
    void OfferAlarmTime(const COleDateTime& t);
    const COleDateTime& EarliestAlarm() const { return m_earliestAlarm; }
    void SetEarliestAlarm(const COleDateTime& t) { m_earliestAlarm = t; }

    // The alarm log "Log.txt" in folder (ending in '/'); opened once, appended to.
    void OpenLogFile(const std::string& folder);
    bool LogOpen() const { return m_logFile != nullptr; }
    // The log's path once OpenLogFile named it, else empty.
    const std::string& LogPath() const { return m_logPath; }
    // Empties the log at once (the options' Purge); false when it could not be emptied.
    bool PurgeLog();
    // One line per acknowledged alarm, when logging is on.
    void WriteLogLine(const CNote& note);
    // Any other line of the log (a clock change), when logging is on.
    void WriteLogText(const std::string& line);

private:
    static COleDateTime NoAlarm() { return COleDateTime(2200, 1, 1, 0, 0, 0); }

    IAlarmHost& m_host;
    CClockJumpDetector m_clockJumps;
    COleDateTime m_earliestAlarm = NoAlarm();
    FILE* m_logFile = nullptr;
    std::string m_logPath;
};
