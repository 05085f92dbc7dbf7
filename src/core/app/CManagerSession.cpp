#include "app/CManagerSession.h"

#include "app/CTrayCore.h"
#include "app/Globals.h"
#include "manager/IManagerService.h"

bool CManagerSession::Run(CTrayCore& core, IManagerService& manager) {
    if (core.State() != CTrayCore::StateIdle || g_timeDialogCount != 0) return false;
    core.StopTimers();
    core.PullNoteTexts(); // texts typed into note windows belong to the notes the manager shows
    core.ShowNotesReadOnly(true);
    const int before = core.State();
    core.SetState(CTrayCore::StateManagerOpen);
    manager.OpenManager();
    core.SaveData();
    core.ShowNotesReadOnly(false);
    core.SetState(before);
    core.StartTimers();
    core.BringNotesToTop();
    return true;
}
