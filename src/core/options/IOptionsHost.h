#pragma once

class CAlarmCheck;
class CHolidayTable;
class CNoteStore;
struct PlatformServices;

// What the options sheet reads and edits beside the copy of the settings it is given.
class IOptionsHost {
public:
    virtual ~IOptionsHost() = default;

    virtual const PlatformServices& Platform() const = 0;
    // The accounts (edited at once) and the notes whose fonts are offered.
    virtual CNoteStore& Store() = 0;
    // The log the note page shows and purges.
    virtual CAlarmCheck& Alarms() = 0;
    virtual CHolidayTable& Holidays() = 0;
    // Accounts are not edited while a check runs on them.
    virtual bool MailCheckRunning() const = 0;
};
