#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class CTrayMenuWnd;

// One item of a self-painted tray menu for assistive technology: its text, role, state and
// place, and "press" to choose it as Return would.
class CTrayMenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CTrayMenuItemAccessible(CTrayMenuWnd* menu, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int Index() const { return m_index; }

private:
    QPointer<CTrayMenuWnd> m_menu;
    int m_index;
};
