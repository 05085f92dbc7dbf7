#pragma once

#include "core/calendar/CHolidayTable.h"
#include "core/model/CNoteStore.h"
#include "core/model/CSettings.h"
#include "core/platform/COleDateTime.h"

// Everything "Note.Dat" holds: what the data file reads into and writes from.
struct CDataDocument {
    static constexpr int kFileVersion = -19991201;

    COleDateTime m_firstRunDate{0.0};
    COleDateTime m_lastSaveTime{0.0};
    int m_fileVersion = kFileVersion; // the stamp written
    int m_versionRead = 0;            // the stamp the last read found
    CSettings m_settings;
    CNoteStore m_store;       // notes, categories (the root first), mail accounts
    CHolidayTable m_holidays; // only the enable flags are stored

    // How far the last read came: older files lack the clock and weather blocks, and a broken
    // file ends early. The countdowns derived from the stored times follow from these.
    bool m_clockSyncRead = false; // the clock synchronisation block
    bool m_headerRead = false;    // every setting before the mail interval
    bool m_mailRead = false;      // the mail interval and the time of the last check
    bool m_weatherRead = false;   // the weather block
};
