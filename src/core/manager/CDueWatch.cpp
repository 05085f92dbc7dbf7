#include "core/manager/CDueWatch.h"

#include "core/model/CNote.h"
#include "core/platform/IDesktopNotices.h"

CDueWatch::Result CDueWatch::Poll(const std::vector<CNote*>& notes, const COleDateTime& now) {
    Result result;
    std::map<const CNote*, COleDateTime> due;
    std::string titles;
    for (const CNote* n : notes) {
        if (n->m_type == CNote::Memo || !n->IsAlarmPastAt(now)) continue;
        const auto told = m_told.find(n);
        if (told == m_told.end() || told->second != n->m_alarmTime) result.newlyDue.push_back(n);
        due.emplace(n, n->m_alarmTime);
        titles += (titles.empty() ? "" : ", ") + Title(*n);
    }
    // Only the notes due now are kept: a note moved later is told of again when it falls due.
    m_told = std::move(due);
    if (!m_told.empty())
        result.statusText = std::to_string(m_told.size()) +
                            (m_told.size() == 1 ? " reminder due: " : " reminders due: ") + titles;
    return result;
}

std::string CDueWatch::Title(const CNote& note) {
    return note.m_title.empty() ? std::string("No Title") : note.m_title;
}

std::string CDueWatch::Tell(IDesktopNotices* notices, const std::vector<CNote*>& notes,
                            const COleDateTime& now, const std::string& window) {
    Result due = Poll(notes, now);
    if (notices)
        for (const CNote* n : due.newlyDue)
            if (const unsigned ticket =
                    notices->Show("Reminder due: " + Title(*n),
                                  "It rings as soon as " + window + " is closed.", nullptr))
                m_tickets.push_back(ticket);
    return due.statusText;
}

void CDueWatch::WithdrawAll(IDesktopNotices* notices) {
    if (notices)
        for (unsigned ticket : m_tickets)
            notices->Withdraw(ticket);
    m_tickets.clear();
}
