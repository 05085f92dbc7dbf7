#include "sticky/CStickyNoteFactory.h"

#include "sticky/CStickyNoteDlg.h"

INoteWindow* CStickyNoteFactory::OpenNoteWindow(CNote& note, int x, int y, bool ringing) {
    // The window deletes itself once destroyed.
    return new CStickyNoteDlg(note, m_tray, x, y, ringing);
}
