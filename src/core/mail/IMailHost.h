#pragma once

#include <functional>
#include <string>

class CNoteStore;
class CSideSettings;
struct CSettings;
struct PlatformServices;

// What the mail check needs from the program that runs it.
class IMailHost {
public:
    virtual ~IMailHost() = default;

    // The program's TrayState: after Exit the icon stays gone and nothing is shown.
    virtual int State() const = 0;
    virtual const PlatformServices& Platform() const = 0;
    // The accounts and their counts.
    virtual CNoteStore& Store() = 0;
    virtual CSettings& settings() = 0;
    // Milliseconds until the next automatic check.
    virtual int& MailCountdown() = 0;
    virtual bool SaveData() = 0;
    // A check ended (or had nothing to check): an exit that waited for it goes on.
    virtual void EndMailCheck() = 0;
    // The certificates the user trusts are kept beside the data file.
    virtual const CSideSettings& Side() const = 0;
    virtual bool ChangeSide(const std::function<void(CSideSettings&)>& change,
                            std::string* reason) = 0;
};
