#pragma once

#include "core/platform/COleDateTime.h"

#include <map>
#include <string>
#include <vector>

class CNote;
class IDesktopNotices;

// Reminders that fall due while the Note Manager is open. Nothing rings before it closes, so
// the manager tells of each one once (a desktop notice) and keeps a line of what waits.
class CDueWatch {
public:
    struct Result {
        std::vector<const CNote*> newlyDue; // not told of before (or due again at a new time)
        std::string statusText;             // "2 reminders due: Dentist, Call Anna", or empty
    };
    Result Poll(const std::vector<CNote*>& notes, const COleDateTime& now);
    // Polls and shows one desktop notice for each note newly due, saying it rings once `window`
    // (e.g. "the Note Manager") is closed; returns the status line.
    std::string Tell(IDesktopNotices* notices, const std::vector<CNote*>& notes,
                     const COleDateTime& now, const std::string& window);
    // The window closed and the notes ring now: their notices go.
    void WithdrawAll(IDesktopNotices* notices);

    static std::string Title(const CNote& note);

private:
    std::map<const CNote*, COleDateTime> m_told; // the due notes and the alarm they were due at
    std::vector<unsigned> m_tickets;             // the notices shown
};
