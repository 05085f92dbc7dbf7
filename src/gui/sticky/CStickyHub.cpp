#include "sticky/CStickyHub.h"

#include "alarms/RingingCount.h"
#include "app/CTrayCore.h"
#include "model/CNote.h"
#include "platform/ISound.h"
#include "sticky/NoteSchemes.h"

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
        if (n->m_window) windows.push_back(n->m_window);
    return windows;
}

void CStickyHub::NoteChanged() {
    m_tray.NoteChanged();
}

void CStickyHub::PlayCloseSound() {
    if (ISound* sound = m_tray.Platform().sound) sound->PlayResource(kCloseSound);
}

void CStickyHub::StopCloseSound() {
    ISound* sound = m_tray.Platform().sound;
    if (sound && g_ringingCount == 0) sound->Stop();
}
