#pragma once

#include <QProxyStyle>

// Combo boxes laid out in dialog units are as narrow as their longest entry: this style gives
// their drop-down arrow a narrow button so the text keeps the room.
class CCompactComboStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
};
