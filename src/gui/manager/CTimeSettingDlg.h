#pragma once

#include <QDialog>
#include <functional>

class CNote;
class CNoteEditForm;
class IDialogs;
class QPushButton;

// "Time Setting": the event editor in its time-only form for one note, run modally from the
// note's menu. OK writes the note (and stays open when a value is refused); Cancel leaves it
// as it was. saved runs after a successful write, for the caller to offer the new alarm time
// and save the data.
class CTimeSettingDlg : public QDialog {
    Q_OBJECT
public:
    CTimeSettingDlg(QWidget* parent, CNote& note, IDialogs& dialogs,
                    std::function<void(CNote&)> saved = {});

    CNoteEditForm* Form() const { return m_form; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void accept() override;

private:
    CNote& m_note;
    std::function<void(CNote&)> m_saved;
    CNoteEditForm* m_form;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
