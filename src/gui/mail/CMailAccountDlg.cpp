#include "gui/mail/CMailAccountDlg.h"

#include "core/mail/CMailAccountRules.h"
#include "core/net/MailServerAddress.h"
#include "gui/platform/CDialogOwner.h"
#include "gui/platform/QtDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CMailAccountDlg::CMailAccountDlg(QWidget* parent, CMailAccount& account)
    : QDialog(parent), m_account(account), m_name(new QLineEdit(this)), m_type(new QComboBox(this)),
      m_user(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_verification(new QLineEdit(this)),
      m_serverLabel(new QLabel(QStringLiteral("Server:"), this)), m_server(new QLineEdit(this)),
      m_securityLabel(new QLabel(QStringLiteral("Connection &security:"), this)),
      m_security(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Email Account"));
    setObjectName(QStringLiteral("mailAccountDialog"));

    for (QLineEdit* e : {m_name, m_user, m_password, m_verification})
        e->setMaxLength(CMailAccountRules::kMaxFieldLength);
    m_password->setEchoMode(QLineEdit::Password);
    m_verification->setEchoMode(QLineEdit::Password);
    m_server->setPlaceholderText(QStringLiteral("mail.example.com or mail.example.com:1110"));
    m_security->addItem(QStringLiteral("STARTTLS (required)"), int(MailSecurity::StartTls));
    m_security->addItem(QStringLiteral("SSL/TLS"), int(MailSecurity::Implicit));
    m_security->addItem(QStringLiteral("None (password sent in clear)"), int(MailSecurity::Plain));
    m_type->addItem(QStringLiteral("Pop3"), int(CMailAccount::Pop3));
    m_type->addItem(QStringLiteral("Hotmail"), int(CMailAccount::WebMail));

    m_name->setText(QString::fromStdString(account.m_name));
    m_user->setText(QString::fromStdString(account.m_userName));
    m_password->setText(QString::fromStdString(account.m_password));
    m_verification->setText(QString::fromStdString(account.m_password));
    // The server box holds the host and port; the scheme in the stored field is the choice.
    MailServerAddress address;
    address.security = MailSecurity::StartTls; // for a new account
    if (MailServerAddress::Parse(account.m_server, address)) {
        m_server->setText(QString::fromStdString(address.HostAndPort()));
        // An account from before the choice keeps what it did until the user picks.
        if (address.security == MailSecurity::IfOffered) OfferIfOffered();
    } else {
        m_server->setText(QString::fromStdString(account.m_server));
    }
    m_security->setCurrentIndex(m_security->findData(int(address.security)));
    m_type->setCurrentIndex(account.m_type == CMailAccount::WebMail ? 1 : 0);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), m_name);
    form->addRow(QStringLiteral("&Type:"), m_type);
    form->addRow(QStringLiteral("&User Name:"), m_user);
    form->addRow(QStringLiteral("&Password:"), m_password);
    form->addRow(QStringLiteral("Password &Verification:"), m_verification);
    form->addRow(m_serverLabel, m_server);
    form->addRow(m_securityLabel, m_security);
    m_serverLabel->setBuddy(m_server);
    m_securityLabel->setBuddy(m_security);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMailAccountDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMailAccountDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_server->setMinimumWidth(260);

    connect(m_type, &QComboBox::currentIndexChanged, this, &CMailAccountDlg::OnTypeChanged);
    // A scheme typed into the server box is the security chosen, shown at once, as the
    // scheme is what OK stores; once the box is left it keeps the host alone.
    connect(m_server, &QLineEdit::textChanged, this, [this] { FollowTypedScheme(); });
    connect(m_server, &QLineEdit::editingFinished, this, [this] {
        if (const auto typed = FollowTypedScheme())
            m_server->setText(QString::fromStdString(typed->HostAndPort()));
    });
    OnTypeChanged();
}

void CMailAccountDlg::OfferIfOffered() {
    if (m_security->findData(int(MailSecurity::IfOffered)) < 0)
        m_security->addItem(QStringLiteral("STARTTLS if offered (password may be sent in clear)"),
                            int(MailSecurity::IfOffered));
}

std::optional<MailServerAddress> CMailAccountDlg::FollowTypedScheme() {
    MailServerAddress typed;
    const std::string text = m_server->text().trimmed().toStdString();
    if (text.find("://") == std::string::npos || !MailServerAddress::Parse(text, typed))
        return std::nullopt;
    // "pop3://" is the older "STARTTLS if offered": shown as such, never as a stronger choice.
    if (typed.security == MailSecurity::IfOffered) OfferIfOffered();
    m_security->setCurrentIndex(m_security->findData(int(typed.security)));
    return typed;
}

void CMailAccountDlg::OnTypeChanged() {
    const bool pop3 = m_type->currentData().toInt() == CMailAccount::Pop3;
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_server, m_serverLabel, m_security, m_securityLabel})
        w->setEnabled(pop3);
}

void CMailAccountDlg::accept() {
    CMailAccountRules::Entry entry;
    entry.name = m_name->text().toStdString();
    entry.userName = m_user->text().toStdString();
    entry.password = m_password->text().toStdString();
    entry.verification = m_verification->text().toStdString();
    entry.server = m_server->text().trimmed().toStdString();
    entry.pop3 = m_type->currentData().toInt() == CMailAccount::Pop3;

    std::string message;
    const CMailAccountRules::Field field = CMailAccountRules::Check(entry, message);
    if (field != CMailAccountRules::Field::None) {
        const CDialogOwner::Scope owner(this);
        QtDialogs dialogs;
        dialogs.MessageBox(message, CMailAccountRules::kCheckCaption, IDialogs::Ok, IDialogs::Stop);
        QLineEdit* focus = field == CMailAccountRules::Field::Name       ? m_name
                           : field == CMailAccountRules::Field::UserName ? m_user
                           : field == CMailAccountRules::Field::Password ? m_password
                                                                         : m_server;
        focus->setFocus();
        focus->selectAll();
        return;
    }
    m_account.m_name = entry.name;
    m_account.m_userName = entry.userName;
    m_account.m_password = entry.password;
    m_account.m_server = entry.server;
    MailServerAddress address;
    if (entry.pop3 && entry.server.find("://") == std::string::npos &&
        MailServerAddress::Parse(entry.server, address)) {
        // A scheme typed into the box wins; otherwise the chosen security, with its port.
        const bool portGiven = entry.server.find(':') != std::string::npos;
        address.security = static_cast<MailSecurity>(m_security->currentData().toInt());
        if (!portGiven) address.port = MailServerAddress::DefaultPort(address.security);
        m_account.m_server = address.Text();
    }
    m_account.m_type = entry.pop3 ? CMailAccount::Pop3 : CMailAccount::WebMail;
    QDialog::accept();
}
