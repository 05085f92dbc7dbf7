#pragma once

#include "platform/INoteWindowFactory.h"

class CTrayCore;

// Opens the desktop windows of notes for the tray core.
class CStickyNoteFactory : public INoteWindowFactory {
public:
    explicit CStickyNoteFactory(CTrayCore& tray) : m_tray(tray) {}
    INoteWindow* OpenNoteWindow(CNote& note, int x, int y, bool ringing) override;

private:
    CTrayCore& m_tray;
};
