#pragma once

// Opens the options sheet (the menu's "Options"); it edits a copy of the settings and copies
// it back when confirmed.
class IOptionsService {
public:
    virtual ~IOptionsService() = default;
    virtual void OpenOptions() = 0;
};
