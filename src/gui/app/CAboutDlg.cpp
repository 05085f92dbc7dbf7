#include "gui/app/CAboutDlg.h"

#include "core/app/TrayIds.h"
#include "gui/platform/ResourceImages.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Jotterly"));
    setWindowIcon(ResourceImages::Icon(TrayId::IconNormal));
    setModal(true);

    auto* picture = new QLabel;
    picture->setPixmap(ResourceImages::Icon(TrayId::IconNormal).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("Jotterly"));
    QFont big = name->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    name->setFont(big);
    name->setObjectName("name");
    auto* version = new QLabel(VersionText());
    version->setObjectName("version");
    auto* what = new QLabel(QString::fromLatin1(kDescription));
    what->setObjectName("description");

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addSpacing(6);
    texts->addWidget(what);
    texts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CAboutDlg::VersionText() {
    return QStringLiteral("Version %1").arg(QStringLiteral(JOTTERLY_VERSION));
}
