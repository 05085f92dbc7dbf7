#include "core/app/CManagerSession.h"

#include "core/app/CTrayCore.h"
#include "core/app/Globals.h"
#include "core/manager/IManagerService.h"

bool CManagerSession::Run(CTrayCore& core, IManagerService& manager) {
    if (core.State() == CTrayCore::StateManagerOpen) {
        manager.RaiseManager(); // asked for again: the open one is the one meant
        return false;
    }
    if (core.State() != CTrayCore::StateIdle || g_timeDialogCount != 0) return false;
    core.StopTimers();
    core.ShowNotesReadOnly(true);
    const int before = core.State();
    core.SetState(CTrayCore::StateManagerOpen);
    manager.OpenManager();
    core.SaveData();
    core.ShowNotesReadOnly(false);
    core.SetState(before);
    // The manager changes times in many ways (editor, keys, drags, the calendar, deletes):
    // the alarm check starts again from the notes as they are, not from what it last knew.
    core.Alarms().Resync();
    core.StartTimers();
    core.BringNotesToTop();
    // Nothing rang while the manager was open: what fell due meanwhile rings now.
    core.Alarms().CheckAlarms();
    return true;
}
