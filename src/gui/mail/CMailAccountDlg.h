#pragma once

#include "core/model/CMailAccount.h"
#include "core/net/MailServerAddress.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

// "Email Account": edits one account. On Accepted the account holds what was entered; on
// Rejected it is untouched.
class CMailAccountDlg : public QDialog {
    Q_OBJECT
public:
    CMailAccountDlg(QWidget* parent, CMailAccount& account);

    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* UserEdit() const { return m_user; }
    QLineEdit* PasswordEdit() const { return m_password; }
    QLineEdit* VerificationEdit() const { return m_verification; }
    QLineEdit* ServerEdit() const { return m_server; }
    QComboBox* TypeBox() const { return m_type; }
    QComboBox* SecurityBox() const { return m_security; }

public slots:
    // Runs the checks; stores and closes only when all pass.
    void accept() override;

private:
    void OnTypeChanged();
    // Offers the older "STARTTLS if offered" (not offered to new choices).
    void OfferIfOffered();
    // Chooses the security a scheme in the server box names; the address typed, if any.
    std::optional<MailServerAddress> FollowTypedScheme();

    CMailAccount& m_account;
    QLineEdit* m_name;
    QComboBox* m_type;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_verification;
    QLabel* m_serverLabel;
    QLineEdit* m_server;
    QLabel* m_securityLabel;
    QComboBox* m_security;
};
