#pragma once

#include <QAccessibleWidget>
#include <vector>

class CTrayMenuWnd;

// What assistive technology sees of a self-painted tray menu window: a popup menu whose
// children are its items (CTrayMenuItemAccessible).
class CTrayMenuAccessible : public QAccessibleWidget {
public:
    explicit CTrayMenuAccessible(CTrayMenuWnd* menu);
    ~CTrayMenuAccessible() override;

    // The factory for QAccessible::installFactory.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;

    CTrayMenuWnd* Menu() const;

private:
    // Items are no objects of their own: one registered interface per item, made when first
    // asked for and let go with the menu.
    mutable std::vector<QAccessible::Id> m_items;
};
