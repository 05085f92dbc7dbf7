#pragma once

#include <QDialog>

class QRadioButton;

// "Save Options": which notes the manager writes to the text file.
class CSaveOptionsDlg : public QDialog {
    Q_OBJECT
public:
    enum Scope { AllNotes = 0, CurrentCategory = 1, SelectedNotes = 2 };

    explicit CSaveOptionsDlg(QWidget* parent = nullptr);

    // The checked button; All Notes until another is chosen.
    Scope ChosenScope() const;
    QRadioButton* Button(Scope scope) const { return m_buttons[scope]; }

private:
    QRadioButton* m_buttons[3] = {};
};
