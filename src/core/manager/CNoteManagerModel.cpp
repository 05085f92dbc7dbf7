#include "core/manager/CNoteManagerModel.h"

#include "core/alarms/CAlarmCheck.h"
#include "core/manager/CManagerGeometry.h"
#include "core/manager/IManagerHost.h"
#include "core/model/CNoteStore.h"
#include "core/model/CSettings.h"
#include "core/platform/INoteWindow.h"
#include "core/platform/PlatformServices.h"
#include "core/platform/SystemMetrics.h"

#include <algorithm>
#include <unordered_set>

CNoteManagerModel::CNoteManagerModel(IManagerHost& host) : m_host(host) {
    SyncView();
}

void CNoteManagerModel::SyncView() {
    const auto& notes = m_host.Store().notes();
    m_view.clear();
    m_view.reserve(notes.size());
    for (const auto& n : notes)
        m_view.push_back(n.get());
}

void CNoteManagerModel::Sort(CNoteSort::Key key, bool ascending) {
    m_host.Store().ReorderNotes(
        [&](CNoteStore::Notes& notes) { CNoteSort::Sort(notes, key, ascending); });
    SyncView();
}

std::unique_ptr<CNote> CNoteManagerModel::NewNote(int category) const {
    auto note = std::make_unique<CNote>(m_host.settings().NewNote());
    note->m_category = category;
    return note;
}

CNote& CNoteManagerModel::Add(std::unique_ptr<CNote> note) {
    CNote& added = m_host.Store().AddNote(std::move(note));
    m_view.push_back(&added);
    if (added.m_dueSoon) m_host.Alarms().OfferAlarmTime(added.m_alarmTime);
    return added;
}

void CNoteManagerModel::Updated(CNote& note) {
    if (note.m_dueSoon) m_host.Alarms().OfferAlarmTime(note.m_alarmTime);
    if (note.Window()) note.Window()->ReloadTexts();
}

CNoteManagerModel::Deleted CNoteManagerModel::Delete(const std::vector<CNote*>& notes) {
    Deleted result;
    std::unordered_set<const CNote*> gone;
    for (CNote* n : notes) {
        if (n->Window() && n->Window()->IsRinging()) {
            ++result.refused;
            continue;
        }
        gone.insert(n);
    }
    result.deleted = static_cast<int>(gone.size());
    if (!gone.empty()) {
        m_host.Store().RemoveNotes(gone);
        std::erase_if(m_view, [&](const CNote* n) { return gone.count(n) != 0; });
        m_host.Alarms().ComputeEarliestAlarm();
    }
    return result;
}

void CNoteManagerModel::Post(const std::vector<CNote*>& notes, int x, int y, int screenWidth,
                             int screenHeight) {
    const std::vector<CManagerGeometry::Point> points = CManagerGeometry::PostPositions(
        static_cast<int>(notes.size()), x, y, screenWidth, screenHeight);
    for (size_t i = 0; i < notes.size(); ++i) {
        CNote& note = *notes[i];
        const CManagerGeometry::Point p = points[i];
        if (note.Window()) {
            const RECT r = note.Window()->GetWindowRect();
            note.m_windowRect = r;
            note.Window()->MoveTo(p.x - (r.right - r.left) / 2,
                                  p.y - SystemMetrics::SM_CYFRAME - 2);
        } else if (m_host.Platform().windows) {
            note.OpenWindow(p.x, p.y, false, *m_host.Platform().windows);
        }
    }
}
