#pragma once

#include "core/app/CTrayMenu.h"

#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

// The self-painted tray menu. The root is a popup that takes all mouse and key input while it
// is open; each submenu is painted in a window of its own, and the root routes the input to
// whichever menu lies under the pointer. Items are measured by the model and painted here.
class CTrayMenuWnd : public QWidget {
    Q_OBJECT
public:
    // The root menu of a built model.
    explicit CTrayMenuWnd(CTrayMenu model, const QFont& font = MenuFont());
    ~CTrayMenuWnd() override;

    // Shows the menu with its top-left corner at pos, moved as little as needed to stay on
    // the screen (to the left of or above pos when there is no room).
    void Popup(const QPoint& globalPos);

    // The system menu font, and the menu bar height it implies.
    static QFont MenuFont();
    static int SystemMenuHeight(const QFont& font);
    // Gives the model its basic item width and height for this font.
    static void ApplyFontMetrics(CTrayMenu& model, const QFont& font);

    int ItemCount() const { return static_cast<int>(m_items->size()); }
    const CTrayMenuItem& Item(int index) const { return (*m_items)[index]; }
    int IndexOfData(int data) const;
    QRect ItemRect(int index) const { return m_rects[index]; }
    int Selected() const { return m_selected; }
    CTrayMenuWnd* Submenu() const { return m_submenu; }
    const CTrayMenu& Model() const { return *m_model; }
    // Chooses the item as Return would (assistive technology's "press").
    void ActivateItem(int index);
    // The whole text of an owner-drawn item that is drawn elided; empty when it fits.
    QString ElidedItemText(int index) const;

    // How long the pointer rests on a submenu item before the submenu opens.
    static constexpr int kSubmenuDelayMs = 300;

signals:
    // Emitted by the root once the menu has closed; never for headers or report lines.
    void commandChosen(int command);
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    CTrayMenuWnd(const CTrayMenu* model, const std::vector<CTrayMenuItem>* items,
                 CTrayMenuWnd* parentMenu, const QFont& font);

    CTrayMenuWnd* Root();
    void HandleMove(const QPoint& global);
    void HandlePress(const QPoint& global, Qt::MouseButton button);
    void HandleRelease(const QPoint& global, Qt::MouseButton button);
    void HandleKey(int key);
    void StartOpenTimer(CTrayMenuWnd* menu, int index);

    void Layout();
    int ItemAt(const QPoint& local) const;
    QRect TextRect(int index) const;
    // The menu window and item under a point of the screen; item -1 on a frame.
    CTrayMenuWnd* MenuAt(const QPoint& global, int* index);
    CTrayMenuWnd* Deepest();
    // The menu the arrow keys act on: the deepest one with a selection.
    CTrayMenuWnd* KeyboardMenu();

    void Hover(int index);
    void Select(int index);
    void MoveSelection(int step);
    void OpenSubmenu(bool selectFirst);
    void CloseSubmenu();
    void Activate(int index, bool fromKeyboard);
    void Finish(int command);
    void PlaceSubmenu();

    void PaintFrame(QPainter& p);
    void PaintOwnerDrawn(QPainter& p, int index);
    void PaintPlain(QPainter& p, int index);
    void PaintArrow(QPainter& p, const QRect& item, const QColor& color);

    std::unique_ptr<CTrayMenu> m_ownModel; // the root owns the model; submenus point into it
    const CTrayMenu* m_model;
    const std::vector<CTrayMenuItem>* m_items;
    CTrayMenuWnd* m_parentMenu;
    QFont m_font;
    std::vector<QRect> m_rects;
    int m_selected = -1;
    CTrayMenuWnd* m_submenu = nullptr; // owned; deleted later, as it may be handling an event

    // Root only.
    bool m_pressedInside = false;
    bool m_finished = false;
    QTimer m_openTimer;
    QPointer<CTrayMenuWnd> m_openTarget;
    int m_openIndex = -1;
};
