#pragma once

#include "gui/options/COptionsPage.h"

#include <functional>

class CMailAccount;
class CNoteStore;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Email": the mail accounts, changed at once through the account dialog, and the interval of
// the automatic check.
class CEmailPage : public COptionsPage {
    Q_OBJECT
public:
    // Edits an account in a dialog; true when it was confirmed.
    using AccountEditor = std::function<bool(QWidget*, CMailAccount&)>;

    // checkRunning: a mail check reads the accounts meanwhile, so they cannot be changed.
    CEmailPage(COptionsValues& values, IDialogs& dialogs, CNoteStore& store, bool checkRunning,
               QWidget* parent);

    // Without an editor accounts can be removed but not added or edited.
    void SetAccountEditor(AccountEditor editor);
    bool Validate() override;
    void Store() override;
    bool AccountsChanged() const { return m_changed; }

private:
    void AddAccount();
    void EditAccount();
    void RemoveAccount();
    void FillList(int select);
    void UpdateAutoCheck();

    CNoteStore& m_store;
    AccountEditor m_edit;
    bool m_changed = false;
    bool m_busy = false; // a mail check was running when the page opened
    QListWidget* m_list;
    QPushButton* m_add;
    QPushButton* m_editButton;
    QPushButton* m_remove;
    QCheckBox* m_autoCheck;
    QLineEdit* m_hours;
    QLineEdit* m_minutes;
};
