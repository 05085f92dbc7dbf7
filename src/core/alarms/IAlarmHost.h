#pragma once

class CAlarmCheck;
class CNoteStore;
struct CSettings;
struct PlatformServices;

// What the alarm check and the ringing of a note need from the program that owns them.
class IAlarmHost {
public:
    virtual ~IAlarmHost() = default;

    virtual const CSettings& settings() const = 0;
    virtual CNoteStore& Store() = 0;
    virtual const PlatformServices& Platform() const = 0;
    // The program's TrayState.
    virtual int State() const = 0;
    virtual void SetState(int state) = 0;
    virtual CAlarmCheck& Alarms() = 0;
    // Writes the data file; on failure the user has been told.
    virtual bool SaveData() = 0;
};
