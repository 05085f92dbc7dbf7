#pragma once

#include <QLineEdit>
#include <QPointer>

class CFieldChoiceDlg;
class CFieldEditor;

// An edit control divided into fields that cannot be typed into: it passes clicks, keys, the
// focus and right clicks to its field editor and shows the text and selection it keeps. Enter,
// Escape and Tab go on to the dialog.
class CFieldEdit : public QLineEdit {
    Q_OBJECT
public:
    CFieldEdit(CFieldEditor& fields, QWidget* parent);

    // Shows the editor's text and selection again (after it was changed from outside).
    void Refresh();
    void StepField(int n);
    // The open popup list, if any.
    CFieldChoiceDlg* Chooser() const;
    CFieldEditor& Fields() const { return m_fields; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OpenChooser();
    void OnChooserClosed(bool picked, int index);
    // Runs an editor action and shows the result.
    template <class Action> void Do(Action action);

    CFieldEditor& m_fields;
    QPointer<CFieldChoiceDlg> m_chooser;
};
