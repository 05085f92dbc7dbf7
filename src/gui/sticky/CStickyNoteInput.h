#pragma once

#include "core/sticky/CNoteGeometry.h"
#include "gui/widgets/CPointerDrag.h"

#include <QPoint>
#include <QString>

class CStickyNoteDlg;
class QContextMenuEvent;
class QEvent;
class QKeyEvent;
class QMouseEvent;
class QObject;

// What the pointer and the keys do on a note window: moving by the title bar and sizing by the
// borders, the cursor and tip over each part, the pin box (keep on top, or line up the other
// notes with Shift or Alt), the close box, rolling up by a double click, editing the title in
// place after a right click on it, and the note menu (a right click on the pin box, the menu key
// or Shift+F10).
class CStickyNoteInput {
public:
    explicit CStickyNoteInput(CStickyNoteDlg& window);

    NoteHit HitAt(const QPoint& pos) const;
    QString ToolTipAt(const QPoint& pos) const;
    // Shows or hides the tip of a QEvent::ToolTip.
    void ShowToolTip(QEvent* event) const;

    void Press(QMouseEvent* event);
    void Move(QMouseEvent* event);
    void Release() { m_drag.Release(); }
    void DoubleClick(QMouseEvent* event);
    void ContextMenu(QContextMenuEvent* event);
    // True when the event was a menu key in the note's text (and the menu opened).
    bool FilterTextEvent(QEvent* event);
    // True when the key was the window's own (Shift+F10).
    bool Key(QKeyEvent* event);

    void BeginTitleEdit();
    // keep: the typed title becomes the note's; else the editor gets the note's title back.
    void EndTitleEdit(bool keep);

private:
    void UpdateCursor(const QPoint& pos);
    void LeftPress(const QPoint& pos, Qt::KeyboardModifiers modifiers);
    void TogglePin();
    void ArrangeOthers(bool shift, bool alt, bool ctrl);

    CStickyNoteDlg& w;
    CPointerDrag m_drag;
    bool m_endingTitleEdit = false;
};
