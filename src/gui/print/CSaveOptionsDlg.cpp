#include "gui/print/CSaveOptionsDlg.h"

#include "gui/widgets/DialogUnits.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

CSaveOptionsDlg::CSaveOptionsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SaveOptionsDlg"));
    setWindowTitle(QStringLiteral("Save Options"));
    setFont(DialogUnits::DialogFont());
    const DialogUnits du(font());
    setFixedSize(du.X(156), du.Y(53));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(du.Rect(99, 8, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setGeometry(du.Rect(99, 27, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* box = new QGroupBox(QStringLiteral("Scope"), this);
    box->setGeometry(du.Rect(7, 1, 85, 43));
    struct Def {
        const char* text;
        int x, y, w, h;
    };
    static const Def defs[] = {{"All Notes", 14, 11, 52, 9},
                               {"Current Category", 14, 20, 71, 11},
                               {"Selected Notes", 14, 30, 71, 13}};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        const Def& d = defs[i];
        m_buttons[i] = new QRadioButton(QString::fromLatin1(d.text), this);
        // Placed in dialog units of the dialog, over the group box as in its template.
        m_buttons[i]->setGeometry(du.Rect(d.x, d.y, d.w, d.h));
        group->addButton(m_buttons[i], i);
    }
    m_buttons[AllNotes]->setChecked(true);
    m_buttons[AllNotes]->setFocus();
}

CSaveOptionsDlg::Scope CSaveOptionsDlg::ChosenScope() const {
    for (int i = 0; i < 3; ++i)
        if (m_buttons[i]->isChecked()) return static_cast<Scope>(i);
    return AllNotes;
}
