#pragma once

#include <string>

struct PlatformServices;

// What the launcher words handed to the running copy need from it.
class ILaunchHost {
public:
    virtual ~ILaunchHost() = default;

    // The program's TrayState: a word waits until the program is idle.
    virtual int State() const = 0;
    virtual void SetState(int state) = 0;
    virtual const PlatformServices& Platform() const = 0;
    // Carries out export-ics or import-ics FILE; message tells the user what happened.
    virtual bool RunCalendarWord(const std::string& word, const std::string& file,
                                 std::string& message) = 0;
};
