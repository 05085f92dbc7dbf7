#include "gui/manager/CManagerLayout.h"

#include "core/manager/CManagerGeometry.h"
#include "gui/manager/CManagerStatusLine.h"
#include "gui/manager/CManagerToolbar.h"
#include "gui/manager/CNoteList.h"
#include "gui/widgets/DialogUnits.h"

#include <QLabel>
#include <QScreen>
#include <algorithm>

int CManagerLayout::DesignedHeight() const {
    const DialogUnits du(m_window.font());
    const int editorFrame = std::max(du.Y(74), m_parts.editor->height() + 4);
    return kFrame + 55 + du.Y(105) + du.Y(11) + du.Y(2) + du.Y(19) + editorFrame + du.Y(1) +
           du.Y(11) + kFrame;
}

int CManagerLayout::MinHeight() const {
    return CManagerGeometry::MinHeight(DesignedHeight(), DialogUnits(m_window.font()).Y(105));
}

int CManagerLayout::ListWidth() const {
    return std::max(DialogUnits(m_window.font()).X(288), m_parts.editor->width() + 8);
}

QRect CManagerLayout::Place(bool full, bool tree) {
    const DialogUnits du(m_window.font());
    const int m = kFrame;
    // The list shrinks below its half only when the screen is smaller than that (Fit).
    const int minimum = m_window.minimumHeight();
    const int floor = minimum > 0 ? std::min(MinHeight(), minimum) : MinHeight();
    const int extra = std::max(m_window.height() - DesignedHeight(), floor - DesignedHeight());
    const int treeW = du.X(102), gap = du.X(1);
    const int listW = ListWidth();
    const int top = m + 55, listH = du.Y(105) + extra, tabsH = du.Y(11);

    m_parts.toolbar->PlaceTools(m + 4, m + 26);
    m_parts.tree->setGeometry(m, top, treeW, listH);
    m_parts.tree->setVisible(tree);
    m_parts.list->SetRightDragEnabled(tree);
    const int listX = tree ? m + treeW + gap : m;
    const int listWidth = full && !tree ? treeW + gap + listW : listW;
    m_parts.list->setGeometry(listX, top, listWidth, listH);
    m_parts.count->setGeometry(m, top + listH, treeW, tabsH);
    m_parts.count->setVisible(tree);

    const int lowerTop = top + listH + tabsH + du.Y(2);
    const int lowerLeft = full ? m + treeW + gap : m;
    const int bandH = du.Y(18);
    m_parts.toolbar->PlaceButtons(lowerLeft + 4, lowerTop + 3);
    const int editorTop = lowerTop + bandH + du.Y(1);
    const int editorFrame = std::max(du.Y(74), m_parts.editor->height() + 4);
    m_parts.editor->move(lowerLeft + 4, editorTop + 2);
    m_parts.calendar->setGeometry(m, lowerTop, treeW, editorTop + editorFrame - lowerTop);
    m_parts.calendar->setVisible(full);
    const int totalW = full ? treeW + gap + listW : listW;
    const int statusTop = editorTop + editorFrame + du.Y(1);
    m_parts.status->Place(m, statusTop, totalW, du.Y(11));
    return QRect(m, m, totalW, 23);
}

void CManagerLayout::Fit(bool full, bool opened) {
    const DialogUnits du(m_window.font());
    const int w = 2 * kFrame + (full ? du.X(102) + du.X(1) + ListWidth() : ListWidth());
    const int extra = m_window.height() - DesignedHeight();
    int h = DesignedHeight() + (opened ? extra : 0);
    const QScreen* sc = m_window.screen();
    const QRect a = sc ? sc->availableGeometry() : QRect();
    if (sc) h = std::min(h, a.height());
    m_window.setFixedWidth(w);
    m_window.setMinimumHeight(sc ? std::min(MinHeight(), a.height()) : MinHeight());
    m_window.setMaximumHeight(QWIDGETSIZE_MAX);
    m_window.resize(w, h);
    if (sc) m_window.move(a.center().x() - w / 2, std::max(a.top(), a.center().y() - h / 2));
}

void CManagerLayout::RestoreHeight(int initialHeight, int extraHeight) {
    auto span =
        CManagerGeometry::ApplyExtraHeight(m_window.y(), initialHeight, extraHeight, MinHeight());
    if (const QScreen* sc = m_window.screen()) { // remembered on a larger screen
        const QRect a = sc->availableGeometry();
        span.height = std::min(span.height, a.height());
        span.top = std::clamp(span.top, a.top(), a.bottom() + 1 - span.height);
    }
    m_window.setGeometry(m_window.x(), span.top, m_window.width(), span.height);
}
