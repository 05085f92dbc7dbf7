#include "gui/options/COptionsSheet.h"

#include "core/options/IOptionsHost.h"
#include "gui/options/CAlarmPage.h"
#include "gui/options/CHolidayPage.h"
#include "gui/options/COtherPage.h"
#include "gui/platform/ResourceImages.h"
#include "gui/widgets/DialogUnits.h"

#include <QPushButton>
#include <QTabWidget>

namespace {
constexpr int kIconOptions = 227;
// Every page's room in dialog units; the "Other" page needs the most.
constexpr int kPageWidth = 225, kPageHeight = 121;
} // namespace

COptionsSheet::COptionsSheet(QWidget* parent, COptionsValues& values, IOptionsHost& hub,
                             IDialogs& dialogs, ISound& sound)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("OptionsSheet"));
    setWindowTitle(tr("Options"));
    setWindowIcon(ResourceImages::Icon(kIconOptions));
    setFont(DialogUnits::DialogFont());
    setModal(true);
    const DialogUnits du(font());

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_alarm = new CAlarmPage(values, dialogs, sound, m_tabs);
    m_note = new CNotePage(values, dialogs, hub.Alarms(), m_tabs);
    m_email = new CEmailPage(values, dialogs, hub.Store(), hub.MailCheckRunning(), m_tabs);
    m_holidays = new CHolidayPage(values, dialogs, hub.Holidays(), m_tabs);
    m_other = new COtherPage(values, dialogs, m_tabs);
    m_pages = {m_alarm, m_note, m_email, m_holidays, m_other};
    const char* const titles[] = {"Alarm", "Note", "Email", "Holidays", "Other"};
    for (size_t i = 0; i < m_pages.size(); ++i) {
        m_pages[i]->setFixedSize(du.X(kPageWidth), du.Y(kPageHeight));
        m_tabs->addTab(m_pages[i], tr(titles[i]));
    }

    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &COptionsSheet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &COptionsSheet::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &COptionsSheet::OnTabChanged);

    const int margin = du.X(4), gap = du.Y(4);
    const QSize tabs = m_tabs->sizeHint().expandedTo(m_tabs->minimumSizeHint());
    m_tabs->setGeometry(margin, margin, tabs.width(), tabs.height());
    const QRect button = du.Rect(0, 0, 50, 14);
    const int top = margin + tabs.height() + gap;
    const int right = margin + tabs.width();
    m_cancel->setGeometry(right - button.width(), top, button.width(), button.height());
    m_ok->setGeometry(right - 2 * button.width() - du.X(4), top, button.width(), button.height());
    setFixedSize(right + margin, top + button.height() + margin);
}

COptionsSheet::~COptionsSheet() = default;

void COptionsSheet::OnTabChanged(int index) {
    if (m_reverting || index == m_shown) return;
    // The page left must hold acceptable values; it is shown again while they are checked, so
    // a refused field can take the focus.
    m_reverting = true;
    m_tabs->setCurrentIndex(m_shown);
    const bool ok = m_pages[m_shown]->Validate();
    if (ok) m_tabs->setCurrentIndex(index);
    m_reverting = false;
    if (ok) m_shown = index;
}

void COptionsSheet::accept() {
    if (!m_pages[m_tabs->currentIndex()]->Validate()) return;
    for (COptionsPage* page : m_pages)
        page->Store();
    QDialog::accept();
}

void COptionsSheet::done(int result) {
    for (COptionsPage* page : m_pages)
        page->Closing();
    QDialog::done(result);
}
