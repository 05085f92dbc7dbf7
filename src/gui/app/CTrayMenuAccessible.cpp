#include "gui/app/CTrayMenuAccessible.h"

#include "gui/app/CTrayMenuItemAccessible.h"
#include "gui/app/CTrayMenuWnd.h"

CTrayMenuAccessible::CTrayMenuAccessible(CTrayMenuWnd* menu)
    : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

QAccessibleInterface* CTrayMenuAccessible::Create(const QString& className, QObject* object) {
    if (className == QLatin1String("CTrayMenuWnd"))
        if (auto* menu = qobject_cast<CTrayMenuWnd*>(object)) return new CTrayMenuAccessible(menu);
    return nullptr;
}

CTrayMenuAccessible::~CTrayMenuAccessible() {
    for (QAccessible::Id id : m_items)
        if (id) QAccessible::deleteAccessibleInterface(id);
}

CTrayMenuWnd* CTrayMenuAccessible::Menu() const {
    return static_cast<CTrayMenuWnd*>(widget());
}

int CTrayMenuAccessible::childCount() const {
    return Menu()->ItemCount();
}

QAccessibleInterface* CTrayMenuAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    if (m_items.size() < static_cast<size_t>(childCount())) m_items.resize(childCount(), 0);
    QAccessible::Id& id = m_items[index];
    if (!id)
        id = QAccessible::registerAccessibleInterface(new CTrayMenuItemAccessible(Menu(), index));
    return QAccessible::accessibleInterface(id);
}

int CTrayMenuAccessible::indexOfChild(const QAccessibleInterface* child) const {
    auto* item = dynamic_cast<const CTrayMenuItemAccessible*>(child);
    return item && item->parent() && item->parent()->object() == Menu() ? item->Index() : -1;
}

QAccessibleInterface* CTrayMenuAccessible::childAt(int x, int y) const {
    const QPoint local = Menu()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < childCount(); ++i)
        if (Menu()->ItemRect(i).contains(local)) return child(i);
    return nullptr;
}

QAccessibleInterface* CTrayMenuAccessible::focusChild() const {
    return Menu()->Selected() >= 0 ? child(Menu()->Selected()) : nullptr;
}

QString CTrayMenuAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) return QStringLiteral("Jotterly");
    return QAccessibleWidget::text(t);
}
