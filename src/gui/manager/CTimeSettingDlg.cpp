#include "gui/manager/CTimeSettingDlg.h"

#include "gui/manager/CNoteEditForm.h"
#include "gui/platform/ResourceImages.h"
#include "gui/widgets/DialogUnits.h"

#include <QFrame>
#include <QPushButton>

namespace {
constexpr int kIconClock = 212;
}

CTimeSettingDlg::CTimeSettingDlg(QWidget* parent, CNote& note, IDialogs& dialogs,
                                 std::function<void(CNote&)> saved)
    : QDialog(parent), m_note(note), m_saved(std::move(saved)) {
    setObjectName(QStringLiteral("TimeSettingDlg"));
    setWindowTitle(tr("Time Setting"));
    setAccessibleName(tr("Time Setting"));
    setWindowIcon(ResourceImages::Icon(kIconClock));
    setFont(DialogUnits::DialogFont());
    const DialogUnits du(font());
    resize(du.X(288), du.Y(53));

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken); // etched
    frame->setGeometry(du.Rect(0, 1, 288, 34));

    m_form = new CNoteEditForm(this, true, dialogs);
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setGeometry(du.Rect(92, 37, 50, 14));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setGeometry(du.Rect(148, 37, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, &CTimeSettingDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CTimeSettingDlg::reject);

    m_form->PlaceIn(QPoint(3, 6)); // widens the dialog if the form needs it
    setFixedSize(size());
    m_form->LoadFromNote(&note);
    m_form->show();
}

void CTimeSettingDlg::accept() {
    if (!m_form->SaveToNote(m_note)) return; // refused: stay open on the field
    if (m_saved) m_saved(m_note);
    QDialog::accept();
}
