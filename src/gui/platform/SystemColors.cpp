#include "gui/platform/SystemColors.h"

#include "core/platform/SystemMetrics.h"

#include <QApplication>
#include <QPalette>

QColor SystemColors::Get(int id) {
    const QPalette pal = QApplication::palette();
    switch (id) {
    case COLOR_WINDOW:
        return pal.color(QPalette::Base);
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
        return pal.color(QPalette::WindowText);
    case COLOR_MENU:
    case COLOR_BTNFACE:
    case COLOR_SCROLLBAR:
        return pal.color(QPalette::Button);
    case COLOR_BTNTEXT:
        return pal.color(QPalette::ButtonText);
    case COLOR_BTNSHADOW:
        return pal.color(QPalette::Mid);
    case COLOR_3DDKSHADOW:
    case COLOR_WINDOWFRAME:
        return pal.color(QPalette::Shadow);
    case COLOR_BTNHIGHLIGHT:
        return pal.color(QPalette::Light);
    case COLOR_3DLIGHT:
        return pal.color(QPalette::Midlight);
    case COLOR_HIGHLIGHT:
    case COLOR_ACTIVECAPTION:
        return pal.color(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_CAPTIONTEXT:
        return pal.color(QPalette::HighlightedText);
    case COLOR_GRAYTEXT:
        return pal.color(QPalette::Disabled, QPalette::Text);
    case COLOR_INFOTEXT:
        return pal.color(QPalette::ToolTipText);
    case COLOR_INFOBK:
        return pal.color(QPalette::ToolTipBase);
    case COLOR_INACTIVECAPTION:
        return pal.color(QPalette::Inactive, QPalette::Highlight);
    default:
        return pal.color(QPalette::Window);
    }
}
