#include "gui/sticky/CStickyNoteFactory.h"

#include "gui/sticky/CStickyNoteDlg.h"

INoteWindow* CStickyNoteFactory::OpenNoteWindow(CNote& note, int x, int y, bool ringing) {
    // The window deletes itself once destroyed.
    auto* window = new CStickyNoteDlg(note, m_tray, x, y, ringing);
    if (m_onOpened) m_onOpened(*window);
    return window;
}
