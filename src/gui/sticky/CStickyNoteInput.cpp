#include "gui/sticky/CStickyNoteInput.h"

#include "core/model/CNote.h"
#include "core/platform/SystemMetrics.h"
#include "core/sticky/NotePlacement.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/TopLevelWindows.h"
#include "gui/sticky/CStickyNoteDlg.h"
#include "gui/sticky/CTitleEdit.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace {
Qt::Edges EdgesOf(NoteHit hit) {
    const Qt::Edges l = Qt::LeftEdge, r = Qt::RightEdge, t = Qt::TopEdge, b = Qt::BottomEdge;
    // In the order of NoteHit: client and caption have none.
    static const Qt::Edges kEdges[] = {{}, {}, l, r, t, b, t | l, t | r, b | l, b | r};
    return kEdges[static_cast<int>(hit)];
}
} // namespace

CStickyNoteInput::CStickyNoteInput(CStickyNoteDlg& window) : w(window), m_drag(window) {}

NoteHit CStickyNoteInput::HitAt(const QPoint& pos) const {
    // Sizing borders one pixel wider than the system's frame.
    return w.m_geometry.HitTest(pos.x(), pos.y(), w.width(), w.height(), w.IsRinging(),
                                SystemMetrics::SM_CXFRAME + 1, SystemMetrics::SM_CYFRAME + 1);
}

void CStickyNoteInput::UpdateCursor(const QPoint& pos) {
    const Qt::CursorShape shape = CPointerDrag::CursorFor(EdgesOf(HitAt(pos)));
    if (w.cursor().shape() != shape) w.setCursor(shape);
}

QString CStickyNoteInput::ToolTipAt(const QPoint& pos) const {
    if (!w.m_note || w.m_closing) return {};
    const CNoteGeometry& g = w.m_geometry;
    if (g.InPinBox(pos.x(), pos.y()))
        return w.IsRinging()
                   ? CStickyNoteDlg::tr("Right-click: the note menu")
                   : CStickyNoteDlg::tr("Click: keep on top or not. Right-click: the note "
                                        "menu. Shift or Alt+click: line up the other notes");
    if (w.IsRinging()) return {};
    if (g.InCloseBox(pos.x(), pos.y(), w.width()))
        return CStickyNoteDlg::tr("Close the note: it stays in the Note Manager");
    if (HitAt(pos) == NoteHit::Caption)
        return CStickyNoteDlg::tr(
            "Drag to move. Double-click: roll up or down. Right-click: edit the title");
    return {};
}

void CStickyNoteInput::ShowToolTip(QEvent* event) const {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = ToolTipAt(help->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, &w);
}

void CStickyNoteInput::Press(QMouseEvent* event) {
    if (!w.Active()) return;
    const QPoint pos = event->position().toPoint();
    const NoteHit hit = HitAt(pos);
    if (event->button() == Qt::LeftButton) {
        if (hit == NoteHit::Caption)
            m_drag.PressCaption(event->globalPosition().toPoint());
        else if (hit != NoteHit::Client)
            m_drag.PressBorder(EdgesOf(hit), event->globalPosition().toPoint());
        else
            LeftPress(pos, event->modifiers());
    } else if (event->button() == Qt::RightButton && hit == NoteHit::Caption) {
        BeginTitleEdit();
    }
}

void CStickyNoteInput::Move(QMouseEvent* event) {
    if (!w.Active()) return;
    if (m_drag.IsIdle()) {
        if (!(event->buttons() & Qt::LeftButton)) UpdateCursor(event->position().toPoint());
    } else if (auto proposed = m_drag.Follow(event->globalPosition().toPoint())) {
        w.m_sizing.ApplyUserSizing(GdiPaint::FromQRect(*proposed));
    }
}

void CStickyNoteInput::DoubleClick(QMouseEvent* event) {
    m_drag.Release();
    if (!w.Active() || event->button() != Qt::LeftButton) return;
    if (HitAt(event->position().toPoint()) != NoteHit::Caption) return;
    if (w.IsRolledUp())
        w.Unroll();
    else
        w.RollUp();
}

void CStickyNoteInput::LeftPress(const QPoint& pos, Qt::KeyboardModifiers modifiers) {
    if (w.IsRinging() || w.m_busy) return;
    if (w.m_geometry.InPinBox(pos.x(), pos.y())) {
        const bool shift = modifiers & Qt::ShiftModifier;
        const bool alt = (modifiers & Qt::AltModifier) ||
                         (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier);
        const bool ctrl = modifiers & Qt::ControlModifier;
        if (!shift && !alt)
            TogglePin();
        else
            ArrangeOthers(shift, alt, ctrl);
    } else if (w.m_geometry.InCloseBox(pos.x(), pos.y(), w.width())) {
        w.CloseByCloseBox();
    }
}

void CStickyNoteInput::TogglePin() {
    CNote& note = *w.m_note;
    note.m_topMost = note.m_topMost ? 0 : 1;
    w.m_hub.NoteChanged();
    TopLevelWindows::SetStaysOnTop(w, note.m_topMost != 0);
    w.update(0, 0, w.m_geometry.m_titleHeight, w.m_geometry.m_titleHeight);
}

void CStickyNoteInput::ArrangeOthers(bool shift, bool alt, bool ctrl) {
    std::vector<CStickyNoteDlg*> others;
    for (INoteWindow* window : w.m_hub.NoteWindows())
        if (auto* other = dynamic_cast<CStickyNoteDlg*>(window);
            other && other != &w && other->Active())
            others.push_back(other);
    const QRect screen = TopLevelWindows::ScreenRect();
    const RECT me = w.GetWindowRect();
    auto places = ArrangeNotes(me, w.m_geometry.m_titleHeight, static_cast<int>(others.size()),
                               screen.width(), screen.height(), shift, alt, ctrl);
    for (size_t i = 0; i < others.size(); ++i) {
        CStickyNoteDlg* other = others[i];
        other->m_sizing.SetRect(
            RECT{places[i].x, places[i].y, places[i].x + me.Width(), places[i].y + me.Height()});
        other->show();
        other->raise();
    }
}

void CStickyNoteInput::ContextMenu(QContextMenuEvent* event) {
    if (!w.Active()) return;
    if (event->reason() == QContextMenuEvent::Keyboard) {
        emit w.noteMenuRequested(w.mapToGlobal(QPoint(5, 5)));
        return;
    }
    // Only the pin box carries the menu; a right click anywhere else is simply ignored.
    if (w.m_geometry.InPinBox(event->pos().x(), event->pos().y()))
        emit w.noteMenuRequested(event->globalPos());
}

bool CStickyNoteInput::FilterTextEvent(QEvent* event) {
    bool keyboardMenu = false;
    if (event->type() == QEvent::ContextMenu)
        keyboardMenu =
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    else if (event->type() == QEvent::KeyPress)
        keyboardMenu = static_cast<QKeyEvent*>(event)->key() == Qt::Key_F10 &&
                       static_cast<QKeyEvent*>(event)->modifiers() == Qt::ShiftModifier;
    if (!keyboardMenu) return false;
    if (w.Active()) emit w.noteMenuRequested(w.mapToGlobal(QPoint(5, 5)));
    return true;
}

bool CStickyNoteInput::Key(QKeyEvent* event) {
    if (event->key() != Qt::Key_F10 || event->modifiers() != Qt::ShiftModifier) return false;
    if (w.Active()) emit w.noteMenuRequested(w.mapToGlobal(QPoint(5, 5)));
    return true;
}

void CStickyNoteInput::BeginTitleEdit() {
    if (w.IsRinging() || w.m_hub.ManagerOpen()) return;
    w.m_titleEdit->Begin(QString::fromStdString(w.m_note->m_title),
                         GdiPaint::ToQRect(w.m_geometry.TitleTextRect(w.width())));
}

void CStickyNoteInput::EndTitleEdit(bool keep) {
    CTitleEdit* edit = w.m_titleEdit;
    if (m_endingTitleEdit || !edit->isVisible() || w.m_closing || !w.m_note) return;
    m_endingTitleEdit = true;
    if (keep) {
        w.m_note->m_title = edit->text().toStdString();
        w.setWindowTitle(edit->text());
        w.m_hub.NoteChanged();
    } else {
        edit->setText(QString::fromStdString(w.m_note->m_title));
    }
    edit->hide();
    w.update(0, 0, w.width(), w.m_geometry.m_titleHeight);
    m_endingTitleEdit = false;
}
