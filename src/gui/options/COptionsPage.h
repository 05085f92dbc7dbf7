#pragma once

#include "gui/widgets/DialogUnits.h"

#include <QWidget>
#include <string>

class IDialogs;
class QLineEdit;
struct COptionsValues;

// One page of the options sheet. It shows the values it was given and writes them back only
// when asked (the sheet asks on OK); checking its fields may refuse to let the user go on.
class COptionsPage : public QWidget {
    Q_OBJECT
public:
    COptionsPage(COptionsValues& values, IDialogs& dialogs, QWidget* parent);

    // True when every field holds an acceptable value; otherwise the user is told and the
    // focus is put on the field.
    virtual bool Validate() { return true; }
    // Writes the page's controls into the values.
    virtual void Store() = 0;
    // The sheet is closing, whatever its button.
    virtual void Closing() {}

protected:
    // Puts a control at its place in dialog units, named for the tests, with its tool tip.
    template <class W>
    W* Place(W* w, int x, int y, int cx, int cy, const char* name, const char* tip = nullptr) {
        w->setGeometry(Units().Rect(x, y, cx, cy));
        w->setObjectName(QString::fromLatin1(name));
        if (tip) w->setToolTip(QString::fromLatin1(tip));
        return w;
    }
    DialogUnits Units() const { return DialogUnits(font()); }
    // Reads an integer field in min..max, telling the user when it does not hold one.
    bool ReadInteger(QLineEdit* edit, int min, int max, int& value);

    COptionsValues& m_values;
    IDialogs& m_dialogs;
};
