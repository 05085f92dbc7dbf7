#include "gui/notemenu/CNoteMenuStyle.h"

#include "gui/notemenu/CNoteMenu.h"

#include <QApplication>
#include <QStyleOptionMenuItem>

CNoteMenuStyle::CNoteMenuStyle() : QProxyStyle(QApplication::style()->name()) {}

CNoteMenuStyle* CNoteMenuStyle::Instance() {
    static CNoteMenuStyle* style = [] {
        auto* s = new CNoteMenuStyle;
        s->setParent(qApp);
        return s;
    }();
    return style;
}

QSize CNoteMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                       const QSize& size, const QWidget* widget) const {
    const auto* menu = qobject_cast<const CNoteMenu*>(widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !menu || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    if (item->menuItemType == QStyleOptionMenuItem::Separator) return menu->SeparatorSize();
    return menu->ItemSize();
}

int CNoteMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                const QWidget* widget) const {
    if (qobject_cast<const CNoteMenu*>(widget)) {
        switch (metric) {
        case PM_MenuPanelWidth:
            return kFrame;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuDesktopFrameWidth:
            return 0;
        default:
            break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int CNoteMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
    // The menu opens on a right click and chooses on the release of either button.
    if (hint == SH_Menu_AllowActiveAndDisabled || hint == SH_Menu_SpaceActivatesItem) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
