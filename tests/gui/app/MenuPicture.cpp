#include "MenuPicture.h"

#include "app/CTrayMenuWnd.h"
#include "gui/support/ImageCompare.h"

#include <QDir>
#include <QPainter>
#include <cstdlib>
#include <vector>

QImage MenuPicture::Grab(CTrayMenuWnd* root) {
    std::vector<CTrayMenuWnd*> chain;
    for (CTrayMenuWnd* w = root; w; w = w->Submenu())
        chain.push_back(w);
    QRect all;
    for (CTrayMenuWnd* w : chain)
        all |= QRect(w->pos(), w->size());
    all.adjust(-8, -8, 8, 8);
    QImage picture(all.size(), QImage::Format_RGB32);
    picture.fill(QColor(96, 112, 128)); // a desktop behind the menu
    QPainter p(&picture);
    for (CTrayMenuWnd* w : chain)
        p.drawPixmap(w->pos() - all.topLeft(), w->grab());
    return picture;
}

QString MenuPicture::OutputPath(const QString& name) {
    QString dir = QStringLiteral(JOTTERLY_BINARY_DIR "/test-output");
    QDir().mkpath(dir);
    return dir + "/" + name + ".png";
}

bool MenuPicture::MatchesReference(const QImage& picture, const QString& name, QString* why,
                                   double maxShare) {
    picture.save(OutputPath(name));
    const QString reference = QStringLiteral(JOTTERLY_TEST_DATA "/") + name + ".png";
    const char* update = std::getenv("JOTTERLY_UPDATE_REFERENCES");
    if (update && *update == '1') picture.save(reference);

    QImage expected(reference);
    if (expected.isNull()) {
        *why = "no reference picture " + reference;
        return false;
    }
    expected = expected.convertToFormat(QImage::Format_RGB32);
    QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    if (expected.size() != actual.size()) {
        *why = QString("size %1x%2, reference %3x%4")
                   .arg(actual.width())
                   .arg(actual.height())
                   .arg(expected.width())
                   .arg(expected.height());
        return false;
    }
    const double share = ImageCompare::DifferentShare(actual, expected, 48);
    if (share > maxShare) {
        *why = QString("%1 of the pixels differ, see %2").arg(share).arg(OutputPath(name));
        return false;
    }
    return true;
}
