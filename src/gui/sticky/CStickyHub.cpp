#include "sticky/CStickyHub.h"

#include "app/CTrayCore.h"
#include "app/Globals.h"
#include "model/CNote.h"
#include "platform/ISound.h"
#include "sticky/NoteSchemes.h"

namespace {
constexpr int kCloseSound = 242;
}

int CStickyHub::SchemeOf(const CNote& note) const {
    return FindScheme(note, m_tray.m_schemeBack, m_tray.m_schemeText, m_tray.m_schemeFont);
}

bool CStickyHub::ManagerOpen() const {
    return m_tray.m_state == CTrayCore::StateManagerOpen;
}

std::vector<INoteWindow*> CStickyHub::NoteWindows() const {
    std::vector<INoteWindow*> windows;
    for (CNote* n : m_tray.m_notes)
        if (n->m_window) windows.push_back(n->m_window);
    return windows;
}

void CStickyHub::PlayCloseSound() {
    if (m_tray.m_sound) m_tray.m_sound->PlayResource(kCloseSound);
}

void CStickyHub::StopCloseSound() {
    if (m_tray.m_sound && g_ringingCount == 0) m_tray.m_sound->Stop();
}
