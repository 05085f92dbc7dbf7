#include "core/manager/CNoteListEdit.h"

#include "core/model/CNote.h"

void CNoteListEdit::ShiftByHour(std::span<CNote* const> notes, bool later) {
    const COleDateTimeSpan hour(0, 1, 0, 0);
    for (CNote* n : notes) {
        n->m_startTime = later ? n->m_startTime + hour : n->m_startTime - hour;
        n->m_baseTime = n->m_startTime;
        n->Recompute();
    }
}

bool CNoteListEdit::FileInCategory(std::span<CNote* const> notes, int target, int shownCategory,
                                   bool& needsRefresh) {
    needsRefresh = false;
    if (target == kNoCategory || target == shownCategory) return false;
    for (CNote* n : notes)
        n->m_category = target;
    needsRefresh = shownCategory != 0;
    return true;
}
