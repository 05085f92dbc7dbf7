#pragma once

#include "core/platform/INoteWindowFactory.h"

#include <functional>
#include <utility>

class CStickyNoteDlg;
class IStickyHost;

// Opens the desktop windows of notes for the tray core. onOpened is called with each new
// window; the program gives every window its note menu there.
class CStickyNoteFactory : public INoteWindowFactory {
public:
    explicit CStickyNoteFactory(IStickyHost& tray,
                                std::function<void(CStickyNoteDlg&)> onOpened = {})
        : m_tray(tray), m_onOpened(std::move(onOpened)) {}
    INoteWindow* OpenNoteWindow(CNote& note, int x, int y, bool ringing) override;

private:
    IStickyHost& m_tray;
    std::function<void(CStickyNoteDlg&)> m_onOpened;
};
