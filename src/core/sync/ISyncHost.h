#pragma once

#include <string>

class CAlarmCheck;
class CNoteStore;
class CSideSettings;
struct CSettings;
struct PlatformServices;

// What the sync folder needs from the program whose notes it mirrors.
class ISyncHost {
public:
    virtual ~ISyncHost() = default;

    virtual const PlatformServices& Platform() const = 0;
    virtual const CSettings& settings() const = 0;
    virtual CNoteStore& Store() = 0;
    // The program's TrayState: changes from elsewhere wait while a window edits the notes.
    virtual int State() const = 0;
    virtual CAlarmCheck& Alarms() = 0;
    virtual bool SaveData() = 0;
    // The folder and the sync command are named beside the data file.
    virtual const CSideSettings& Side() const = 0;
    virtual std::string DataPath() const = 0;
};
