#include "gui/sticky/CStickyHub.h"

#include "core/alarms/CAlarmCheck.h"
#include "core/alarms/IAlarmHost.h"
#include "core/model/CNote.h"
#include "core/model/CNoteStore.h"
#include "core/model/CSettings.h"
#include "core/model/TrayState.h"
#include "core/platform/IDialogs.h"
#include "core/platform/ISound.h"
#include "core/platform/PlatformServices.h"
#include "core/sticky/IStickyHost.h"
#include "core/sticky/NoteSchemes.h"
#include "core/storage/CSideSettings.h"
#include "gui/platform/CDialogOwner.h"

namespace {
constexpr int kCloseSound = 242;
constexpr int kDeleteSound = 241;
} // namespace

IAlarmHost& CStickyHub::Host() const {
    return m_tray.AlarmHost();
}

IDialogs& CStickyHub::Dialogs() const {
    return *Host().Platform().dialogs;
}

const CSettings& CStickyHub::Settings() const {
    return Host().settings();
}

void CStickyHub::DeleteNote(CNote& note) {
    Host().Store().RemoveNote(note);
    Host().Alarms().ComputeEarliestAlarm();
    Host().SaveData();
}

void CStickyHub::TimeChanged(const CNote& note) {
    if (note.m_dueSoon) Host().Alarms().OfferAlarmTime(note.m_alarmTime);
    m_tray.NoteChanged();
}

void CStickyHub::HintClosedMemo() {
    if (m_tray.Side().closedHintShown) return;
    // Remembered first: whatever happens to the box, it is not shown again.
    m_tray.ChangeSide([](CSideSettings& side) { side.closedHintShown = true; }, nullptr);
    const CDialogOwner::Scope owner(CDialogOwner::Tray()); // the note is gone
    if (IDialogs* dialogs = Host().Platform().dialogs)
        dialogs->MessageBox(kClosedNoteHint, "Jotterly", IDialogs::Ok, IDialogs::Information);
}

bool CStickyHub::CanSound() const {
    const ISound* sound = Host().Platform().sound;
    return sound && sound->HasAudioDevice();
}

void CStickyHub::PlayDeleteSound() {
    if (ISound* sound = Host().Platform().sound) sound->PlayResource(kDeleteSound);
}

int CStickyHub::SchemeOf(const CNote& note) const {
    const CSettings& s = Host().settings();
    return FindScheme(note, s.m_schemeBack, s.m_schemeText, s.m_schemeFont);
}

bool CStickyHub::ManagerOpen() const {
    return Host().State() == StateManagerOpen;
}

std::vector<INoteWindow*> CStickyHub::NoteWindows() const {
    std::vector<INoteWindow*> windows;
    for (const auto& n : Host().Store().notes())
        if (n->Window()) windows.push_back(n->Window());
    return windows;
}

void CStickyHub::NoteChanged() {
    m_tray.NoteChanged();
}

void CStickyHub::PlayCloseSound() {
    if (ISound* sound = Host().Platform().sound) sound->PlayResource(kCloseSound);
}

void CStickyHub::StopCloseSound() {
    if (ISound* sound = Host().Platform().sound) sound->StopOnce();
}
