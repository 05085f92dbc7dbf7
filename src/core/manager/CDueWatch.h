#pragma once

#include "platform/COleDateTime.h"

#include <map>
#include <string>
#include <vector>

class CNote;

// Reminders that fall due while the Note Manager is open. Nothing rings before it closes, so
// the manager tells of each one once (a desktop notice) and keeps a line of what waits.
class CDueWatch {
public:
    struct Result {
        std::vector<const CNote*> newlyDue; // not told of before (or due again at a new time)
        std::string statusText;             // "2 reminders due: Dentist, Call Anna", or empty
    };
    Result Poll(const std::vector<CNote*>& notes, const COleDateTime& now);

    static std::string Title(const CNote& note);

private:
    std::map<const CNote*, COleDateTime> m_told; // the due notes and the alarm they were due at
};
