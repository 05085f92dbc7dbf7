#include "gui/app/CTrayMenuItemAccessible.h"

#include "gui/app/CTrayMenuWnd.h"

CTrayMenuItemAccessible::CTrayMenuItemAccessible(CTrayMenuWnd* menu, int index)
    : m_menu(menu), m_index(index) {}

bool CTrayMenuItemAccessible::isValid() const {
    return m_menu && m_index < m_menu->ItemCount();
}

QWindow* CTrayMenuItemAccessible::window() const {
    return m_menu ? m_menu->windowHandle() : nullptr;
}

QAccessibleInterface* CTrayMenuItemAccessible::parent() const {
    return m_menu ? QAccessible::queryAccessibleInterface(m_menu) : nullptr;
}

QString CTrayMenuItemAccessible::text(QAccessible::Text t) const {
    if (!isValid() || t != QAccessible::Name) return {};
    return QString::fromStdString(m_menu->Item(m_index).text);
}

QRect CTrayMenuItemAccessible::rect() const {
    if (!isValid()) return {};
    const QRect local = m_menu->ItemRect(m_index);
    return QRect(m_menu->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role CTrayMenuItemAccessible::role() const {
    if (!isValid()) return QAccessible::NoRole;
    return m_menu->Item(m_index).separator ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State CTrayMenuItemAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const CTrayMenuItem& item = m_menu->Item(m_index);
    s.disabled = item.greyed || item.separator;
    s.focusable = item.Selectable();
    s.focused = s.selected = m_menu->Selected() == m_index;
    s.hasPopup = item.submenu;
    s.expanded = item.submenu && s.selected && m_menu->Submenu();
    return s;
}

void* CTrayMenuItemAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList CTrayMenuItemAccessible::actionNames() const {
    if (!isValid() || !m_menu->Item(m_index).Selectable()) return {};
    return {m_menu->Item(m_index).submenu ? showMenuAction() : pressAction()};
}

void CTrayMenuItemAccessible::doAction(const QString& actionName) {
    if (isValid() && actionNames().contains(actionName)) m_menu->ActivateItem(m_index);
}
