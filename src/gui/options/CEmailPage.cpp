#include "gui/options/CEmailPage.h"

#include "core/mail/CMailAccountRules.h"
#include "core/model/CMailAccount.h"
#include "core/model/CNoteStore.h"
#include "core/options/COptionsValues.h"
#include "core/platform/IDialogs.h"
#include "core/platform/IntegerField.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace {
QString LineOf(const CMailAccount& a) {
    return QString::fromStdString(a.m_name) + (a.m_type == CMailAccount::WebMail
                                                   ? QStringLiteral(" (Hotmail)")
                                                   : QStringLiteral(" (Pop3)"));
}
} // namespace

CEmailPage::CEmailPage(COptionsValues& values, IDialogs& dialogs, CNoteStore& store,
                       bool checkRunning, QWidget* parent)
    : COptionsPage(values, dialogs, parent), m_store(store), m_busy(checkRunning) {
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(Units().Rect(1, 2, 222, 105));
    Place(new QLabel(tr("Accounts"), this), 8, 6, 100, 8, "accountsLabel");
    m_list = Place(new QListWidget(this), 8, 16, 150, 64, "accounts", "Email account list");
    m_add =
        Place(new QPushButton(tr("Add"), this), 166, 16, 50, 14, "add", "Add a new email account");
    m_editButton = Place(new QPushButton(tr("Edit"), this), 166, 34, 50, 14, "edit",
                         "Edit current email account");
    m_remove = Place(new QPushButton(tr("Remove"), this), 166, 52, 50, 14, "remove",
                     "Remove current email account");
    m_autoCheck = Place(new QCheckBox(tr("Check new email every"), this), 8, 89, 90, 10,
                        "autoCheck", "Let Jotterly check new email for you");
    m_hours = Place(new QLineEdit(this), 100, 88, 18, 12, "hours", "0-24");
    Place(new QLabel(tr("hours"), this), 120, 90, 22, 8, "hoursLabel");
    m_minutes = Place(new QLineEdit(this), 144, 88, 18, 12, "minutes", "0-59");
    Place(new QLabel(tr("minutes"), this), 164, 90, 30, 8, "minutesLabel");
    if (values.mailIntervalCutFrom > 0) {
        // Told, not cut in silence: OK stores what the boxes show.
        const int stored = values.mailIntervalCutFrom;
        auto* cut = Place(new QLabel(this), 8, 110, 214, 10, "intervalCut");
        cut->setText(tr("Stored: %1 h %2 min; OK keeps %3 h %4 min.")
                         .arg(stored / 60)
                         .arg(stored % 60)
                         .arg(values.mailHours)
                         .arg(values.mailMinutes));
        cut->setToolTip(tr("The stored interval is longer than these boxes take."));
    }
    for (QPushButton* b : {m_add, m_editButton, m_remove})
        b->setAutoDefault(false);

    m_autoCheck->setChecked(values.mailAutoCheck);
    m_hours->setText(QString::number(values.mailHours));
    m_minutes->setText(QString::number(values.mailMinutes));
    FillList(0);
    UpdateAutoCheck();
    SetAccountEditor({});

    connect(m_add, &QPushButton::clicked, this, &CEmailPage::AddAccount);
    connect(m_editButton, &QPushButton::clicked, this, &CEmailPage::EditAccount);
    connect(m_remove, &QPushButton::clicked, this, &CEmailPage::RemoveAccount);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CEmailPage::EditAccount);
    connect(m_autoCheck, &QCheckBox::toggled, this, &CEmailPage::UpdateAutoCheck);

    if (m_busy)
        for (QWidget* w : findChildren<QWidget*>())
            w->setEnabled(false);
}

void CEmailPage::SetAccountEditor(AccountEditor editor) {
    m_edit = std::move(editor);
    m_add->setEnabled(m_edit && !m_busy);
    m_editButton->setEnabled(m_edit && !m_busy);
}

void CEmailPage::FillList(int select) {
    m_list->clear();
    for (const auto& a : m_store.accounts())
        m_list->addItem(LineOf(*a));
    if (m_list->count() > 0) m_list->setCurrentRow(std::clamp(select, 0, m_list->count() - 1));
}

void CEmailPage::UpdateAutoCheck() {
    if (m_store.accounts().empty()) {
        // Nothing to check: the interval shows its start values, out of reach.
        m_autoCheck->setChecked(false);
        m_autoCheck->setEnabled(false);
        m_hours->setText(QStringLiteral("1"));
        m_minutes->setText(QStringLiteral("0"));
    } else {
        m_autoCheck->setEnabled(true);
    }
    m_hours->setEnabled(m_autoCheck->isChecked());
    m_minutes->setEnabled(m_autoCheck->isChecked());
}

void CEmailPage::AddAccount() {
    if (!CMailAccountRules::CanAdd(m_store.accounts().size())) {
        m_dialogs.MessageBox("You cannot establish more than 24 accounts !", "Sorry", IDialogs::Ok,
                             IDialogs::Stop);
        return;
    }
    auto account = std::make_unique<CMailAccount>();
    if (!m_edit(this, *account)) return;
    m_store.AddAccount(std::move(account));
    m_changed = true;
    FillList(m_list->count());
    UpdateAutoCheck();
}

void CEmailPage::EditAccount() {
    if (!m_edit || m_busy || m_store.accounts().empty()) return;
    if (m_list->currentRow() < 0) m_list->setCurrentRow(0);
    const int row = m_list->currentRow();
    CMailAccount copy = *m_store.accounts()[row];
    if (!m_edit(this, copy)) return;
    CMailAccount& account = *m_store.accounts()[row];
    account.m_name = copy.m_name;
    account.m_server = copy.m_server;
    account.m_type = copy.m_type;
    account.m_userName = copy.m_userName;
    account.m_password = copy.m_password;
    m_changed = true;
    m_list->item(row)->setText(LineOf(account));
}

void CEmailPage::RemoveAccount() {
    const int row = m_list->currentRow();
    if (row < 0) return;
    if (m_dialogs.MessageBox("Delete this email account?", "Confirmation", IDialogs::YesNo,
                             IDialogs::Question) != IDialogs::AnswerYes)
        return;
    m_store.RemoveAccount(static_cast<size_t>(row));
    m_changed = true;
    FillList(m_list->count() - 1); // the last line
    UpdateAutoCheck();
}

bool CEmailPage::Validate() {
    int value = 0;
    return ReadInteger(m_hours, 0, 23, value) && ReadInteger(m_minutes, 0, 59, value);
}

void CEmailPage::Store() {
    m_values.mailAutoCheck = m_autoCheck->isChecked();
    ParseIntegerField(m_hours->text().toStdString(), 0, 23, m_values.mailHours);
    ParseIntegerField(m_minutes->text().toStdString(), 0, 59, m_values.mailMinutes);
}
