#pragma once

struct COptionsValues;

// Shows the options sheet (the menu's "Options") on a copy of the settings.
class IOptionsService {
public:
    struct Result {
        bool confirmed = false;       // closed with OK: the values are to be copied back
        bool accountsChanged = false; // mail accounts were added, edited or removed meanwhile
    };
    virtual ~IOptionsService() = default;
    virtual Result OpenOptions(COptionsValues& values) = 0;
};
