#include "gui/manager/CFieldEdit.h"

#include "core/manager/CFieldEditor.h"
#include "gui/manager/CFieldChoiceDlg.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

CFieldEdit::CFieldEdit(CFieldEditor& fields, QWidget* parent)
    : QLineEdit(parent), m_fields(fields) {
    // Read-only keeps out typing, pasting and dropping; the fields change only through us.
    setReadOnly(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    Refresh();
}

CFieldChoiceDlg* CFieldEdit::Chooser() const {
    return m_chooser;
}

void CFieldEdit::Refresh() {
    const QString text = QString::fromStdString(m_fields.Text());
    if (text != this->text()) setText(text);
    const int length = text.size();
    const int start = std::min(std::max(m_fields.SelStart(), 0), length);
    const int end = std::min(std::max(m_fields.SelEnd(), start), length);
    if (end > start)
        setSelection(start, end - start);
    else
        setCursorPosition(start);
}

template <class Action> void CFieldEdit::Do(Action action) {
    action();
    Refresh();
}

void CFieldEdit::StepField(int n) {
    Do([&] { m_fields.StepField(n); });
}

void CFieldEdit::keyPressEvent(QKeyEvent* event) {
    using Key = CFieldEditor::Key;
    Key key = Key::Other;
    switch (event->key()) {
    case Qt::Key_Left:
        key = Key::Left;
        break;
    case Qt::Key_Right:
        key = Key::Right;
        break;
    case Qt::Key_Up:
        key = Key::Up;
        break;
    case Qt::Key_Down:
        key = Key::Down;
        break;
    case Qt::Key_Space:
        key = Key::Space;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->ignore();
        return;
    case Qt::Key_Menu: // the keyboard's way to the list
        event->accept();
        OpenChooser();
        return;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            event->accept();
            OpenChooser();
            return;
        }
        break;
    default:
        break;
    }
    event->accept(); // every other key is swallowed
    Do([&] { m_fields.OnKey(key); });
}

void CFieldEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    const int pos = cursorPositionAt(event->position().toPoint());
    Do([&] { m_fields.OnClick(pos); });
    event->accept();
}

void CFieldEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event); // no word selection: a field is a field
}

void CFieldEdit::mouseMoveEvent(QMouseEvent* event) {
    event->accept(); // no selecting by dragging
}

void CFieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Back from the list or from another window the selection stays where it was.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        m_fields.OnFocus();
    Refresh();
}

void CFieldEdit::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    OpenChooser();
}

void CFieldEdit::OpenChooser() {
    if (m_chooser) return;
    // A list that went away without a word (its window destroyed) must not block the next.
    if (m_fields.ChooserOpen()) m_fields.ApplyChoice(false, -1);
    std::optional<CFieldChoices> list;
    Do([&] { list = m_fields.OpenChooser(); });
    if (!list) return;
    // Below the field, starting where its text starts.
    setCursorPosition(m_fields.SelStart());
    const int x = cursorRect().center().x();
    Refresh();
    const QPoint at = mapToGlobal(QPoint(x, height() - 2));
    m_chooser = new CFieldChoiceDlg(*list, at, this);
    connect(m_chooser, &CFieldChoiceDlg::closed, this, &CFieldEdit::OnChooserClosed);
    m_chooser->show();
}

void CFieldEdit::OnChooserClosed(bool picked, int index) {
    if (m_chooser) m_chooser->deleteLater();
    m_chooser = nullptr;
    Do([&] { m_fields.ApplyChoice(picked, index); });
}
