#include "gui/sticky/CTitleEdit.h"

#include <limits>

#include <QFocusEvent>
#include <QKeyEvent>

CTitleEdit::CTitleEdit(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("title"));
    setFrame(false);
    setMaxLength(std::numeric_limits<int>::max()); // the file holds titles of any length

    hide();
}

void CTitleEdit::Begin(const QString& title, const QRect& place) {
    setText(title);
    setGeometry(place);
    show();
    window()->activateWindow();
    setFocus(Qt::MouseFocusReason);
    selectAll();
}

void CTitleEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        emit finished(key != Qt::Key_Escape, true);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CTitleEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A popup (the edit's own context menu) takes the focus only for a while.
    if (event->reason() != Qt::PopupFocusReason) emit finished(true, false);
}
