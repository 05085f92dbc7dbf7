#pragma once

class CAlarmCheck;
class CHolidayTable;
class CNoteIdentity;
class CNoteStore;
struct CSettings;
struct PlatformServices;

// What the Note Manager needs from the program that opens it.
class IManagerHost {
public:
    virtual ~IManagerHost() = default;

    // The new notes' defaults and the manager's own layout.
    virtual CSettings& settings() = 0;
    virtual const PlatformServices& Platform() const = 0;
    virtual CNoteStore& Store() = 0;
    // Told when a note's time changes or notes go.
    virtual CAlarmCheck& Alarms() = 0;
    // The notes' stable identities, written into exported calendar files.
    virtual const CNoteIdentity& Identity() const = 0;
    // Marked in the month calendar.
    virtual CHolidayTable& Holidays() = 0;
};
