#pragma once

#include <QImage>
#include <QString>

class CTrayMenuWnd;

// Pictures of an open tray menu for the offscreen tests: the root and its open submenus as
// they lie on the screen, compared with kept reference pictures.
class MenuPicture {
public:
    static QImage Grab(CTrayMenuWnd* root);
    // Saves the picture under the build's test-output folder and compares it with
    // tests/data/<name>.png: same size, and at most maxShare of the pixels differing by more
    // than 48 in a channel. With JOTTERLY_UPDATE_REFERENCES=1 the reference is rewritten.
    static bool MatchesReference(const QImage& picture, const QString& name, QString* why,
                                 double maxShare = 0.001);
    static QString OutputPath(const QString& name);
};
