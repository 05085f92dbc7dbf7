#include "gui/widgets/CCompactComboStyle.h"

#include <QStyleOptionComplex>

namespace {
constexpr int kArrowWidth = 14;
constexpr int kTextInset = 3;
} // namespace

QRect CCompactComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                         SubControl sub, const QWidget* widget) const {
    if (control != CC_ComboBox) return QProxyStyle::subControlRect(control, option, sub, widget);
    const QRect r = option->rect;
    switch (sub) {
    case SC_ComboBoxArrow:
        return visualRect(option->direction, r,
                          QRect(r.right() - kArrowWidth, r.top(), kArrowWidth, r.height()));
    case SC_ComboBoxEditField:
        return visualRect(option->direction, r,
                          QRect(r.left() + kTextInset, r.top() + 2,
                                r.width() - kArrowWidth - kTextInset - 1, r.height() - 4));
    default:
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
}
