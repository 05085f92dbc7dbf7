#include "gui/sticky/CStickyHub.h"

#include "core/app/CTrayCore.h"
#include "core/model/CNote.h"
#include "core/platform/IDialogs.h"
#include "core/platform/ISound.h"
#include "core/platform/ProgramFolder.h"
#include "core/sticky/NoteSchemes.h"
#include "core/storage/CSideSettings.h"
#include "gui/platform/CDialogOwner.h"

namespace {
constexpr int kCloseSound = 242;
constexpr int kDeleteSound = 241;
} // namespace

IDialogs& CStickyHub::Dialogs() const {
    return *m_tray.Platform().dialogs;
}

const CSettings& CStickyHub::Settings() const {
    return m_tray.settings();
}

void CStickyHub::DeleteNote(CNote& note) {
    m_tray.Store().RemoveNote(note);
    m_tray.Alarms().ComputeEarliestAlarm();
    m_tray.SaveData();
}

void CStickyHub::TimeChanged(const CNote& note) {
    if (note.m_dueSoon) m_tray.Alarms().OfferAlarmTime(note.m_alarmTime);
    m_tray.NoteChanged();
}

void CStickyHub::HintClosedMemo() {
    CSideSettings side = CSideSettings::Load(ProgramFolder());
    if (side.closedHintShown) return;
    // Remembered first: whatever happens to the box, it is not shown again.
    side.closedHintShown = true;
    side.Save(ProgramFolder());
    const CDialogOwner::Scope owner(CDialogOwner::Tray()); // the note is gone
    if (IDialogs* dialogs = m_tray.Platform().dialogs)
        dialogs->MessageBox(kClosedNoteHint, "Jotterly", IDialogs::Ok, IDialogs::Information);
}

bool CStickyHub::CanSound() const {
    const ISound* sound = m_tray.Platform().sound;
    return sound && sound->HasAudioDevice();
}

void CStickyHub::PlayDeleteSound() {
    if (ISound* sound = m_tray.Platform().sound) sound->PlayResource(kDeleteSound);
}

int CStickyHub::SchemeOf(const CNote& note) const {
    return FindScheme(note, m_tray.settings().m_schemeBack, m_tray.settings().m_schemeText,
                      m_tray.settings().m_schemeFont);
}

bool CStickyHub::ManagerOpen() const {
    return m_tray.State() == CTrayCore::StateManagerOpen;
}

std::vector<INoteWindow*> CStickyHub::NoteWindows() const {
    std::vector<INoteWindow*> windows;
    for (const auto& n : m_tray.Store().notes())
        if (n->Window()) windows.push_back(n->Window());
    return windows;
}

void CStickyHub::NoteChanged() {
    m_tray.NoteChanged();
}

void CStickyHub::PlayCloseSound() {
    if (ISound* sound = m_tray.Platform().sound) sound->PlayResource(kCloseSound);
}

void CStickyHub::StopCloseSound() {
    if (ISound* sound = m_tray.Platform().sound) sound->StopOnce();
}
