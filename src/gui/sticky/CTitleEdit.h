#pragma once

#include <QLineEdit>

// The in-place editor of a note's title, over its title bar. Return, Enter or losing the
// focus ends it keeping what was typed; Escape ends it giving the old title back (and does
// not close the note, as Escape elsewhere in the window would).
class CTitleEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CTitleEdit(QWidget* parent);

    // Shows the editor over the given place with the whole title selected.
    void Begin(const QString& title, const QRect& place);

signals:
    // byKey: ended by a key, so the focus is still to be placed.
    void finished(bool keep, bool byKey);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
