#pragma once

#include "core/platform/Win32Types.h"

#include <QSize>

class CStickyNoteDlg;

// A note window's size and place: laying out its parts, the size limits the window manager
// keeps, rolling up to the title bar and back, the rules a size the user drags must follow, and
// a free place for a note that would open on another's corner. What it settles is stored in the
// note.
class CStickyNoteSizing {
public:
    explicit CStickyNoteSizing(CStickyNoteDlg& window) : w(window) {}

    void Layout();
    void UpdateSizeLimits();
    void SetRect(const RECT& r);
    // r, moved on when another note window already opened at exactly its corner.
    RECT FreePlace(const RECT& r) const;
    void StoreWindowRect();
    void RollUp();
    void Unroll();
    void ApplyUserSizing(const RECT& proposed);
    void ApplySizeRules();
    // The window took a new size, asked for by this class or dragged by the user.
    void Resized(const QSize& size);

private:
    CStickyNoteDlg& w;
    QSize m_requestedSize; // a size this window asked for itself, not the user
};
