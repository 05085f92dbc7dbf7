#include "core/app/COptionsSession.h"

#include "core/app/CTrayCore.h"
#include "core/app/Globals.h"
#include "core/manager/IOptionsService.h"
#include "core/net/IClockSyncService.h"
#include "core/options/CAutostartEntry.h"
#include "core/options/COptionsValues.h"
#include "core/platform/Clock.h"
#include "core/platform/IDialogs.h"
#include "core/platform/ProgramFolder.h"
#include "core/storage/CSideSettings.h"

#include <filesystem>

namespace {
void Tell(CTrayCore& core, const std::string& text) {
    if (IDialogs* dialogs = core.Platform().dialogs)
        dialogs->MessageBox(text, "Sorry", IDialogs::Ok, IDialogs::Warning);
}
} // namespace

bool COptionsSession::Run(CTrayCore& core, IOptionsService& options) {
    const int before = core.State();
    // From the tray menu, or from the Note Manager's toolbar while the manager is open.
    if ((before != CTrayCore::StateIdle && before != CTrayCore::StateManagerOpen) ||
        g_timeDialogCount != 0)
        return false;
    core.StopTimers();
    core.SetState(CTrayCore::StateOptionsOpen);

    COptionsValues values = COptionsValues::From(core.settings(), core.Holidays());
    values.ReadSide(core.Side());
    values.canSetClock = core.CanSetClock();
    if (IClockSyncService* clock = core.ClockService()) {
        // Measured once the page that shows it is open, not for every look at the options.
        values.clockStatus = [clock, asked = false]() mutable {
            if (!asked) clock->MeasureClock();
            asked = true;
            return clock->ClockStatus();
        };
    }
    if (!values.canSetClock) values.clockSync = false;
    values.autostart = CAutostartEntry::Enabled();
    const bool autostartBefore = values.autostart;
    const size_t accountsBefore = core.Store().accounts().size();

    const IOptionsService::Result result = options.OpenOptions(values);
    if (result.confirmed) {
        const COptionsValues::Effects e =
            values.ApplyTo(core.settings(), core.Holidays(), Clock::Now());
        if (e.mailCountdownSet) core.countdowns().mail = e.mailCountdownMs;
        if (e.clockSyncTurnedOn) core.countdowns().clockSync = CTrayCore::kFirstCheckMs;
        if (e.weatherPlaceChanged) core.countdowns().weather = CTrayCore::kFirstCheckMs;
        WriteSideSettings(core, values);
        if (values.autostart != autostartBefore) WriteAutostart(core, values.autostart);
    }
    // Accounts change at once, whatever closes the sheet: they are saved either way.
    if (result.confirmed || result.accountsChanged ||
        core.Store().accounts().size() != accountsBefore)
        core.SaveData();
    if (result.confirmed) core.UpdateCountdowns();
    core.SetState(before);
    // Opened over the Note Manager, the timers wait until the manager closes.
    if (before == CTrayCore::StateIdle) {
        core.StartTimers();
        core.Alarms().CheckAlarms(); // what fell due while the sheet was open rings now
    }
    return true;
}

void COptionsSession::WriteSideSettings(CTrayCore& core, const COptionsValues& values) {
    std::string reason;
    if (!core.ChangeSide([&](CSideSettings& side) { values.WriteSide(side); }, &reason))
        Tell(core, "The settings could not be saved to \"" + ProgramFolder() +
                       CSideConfig::kFileName + "\":\n" + reason);
}

void COptionsSession::WriteAutostart(CTrayCore& core, bool wanted) {
    std::string reason;
    if (wanted) {
        if (!CAutostartEntry::Write(CAutostartEntry::RunningProgram(), &reason))
            Tell(core, "Jotterly could not be set to start when you log in:\n\"" +
                           CAutostartEntry::Path() + "\": " + reason);
    } else if (!CAutostartEntry::Remove(&reason)) {
        Tell(core, "Jotterly would still start when you log in: \"" + CAutostartEntry::Path() +
                       "\" could not be removed:\n" + reason);
    }
}
