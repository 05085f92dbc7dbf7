#pragma once

#include "core/platform/Win32Types.h"
#include "core/sticky/CNoteMenuModel.h"

#include <QFont>
#include <QMenu>
#include <vector>

// The note window's self-painted popup menu: the schemes and the note's own colours preview
// themselves, submenu choices carry a small check box, the selected item is framed sunken.
// Which items exist and how large they are is CNoteMenuModel's; this class only paints them
// and reports the chosen id.
class CNoteMenu : public QMenu {
    Q_OBJECT
public:
    struct Look {
        COLORREF noteBack = 0, noteText = 0;
        COLORREF schemeBack[4] = {}, schemeText[4] = {};
        QFont font;
    };

    CNoteMenu(const std::vector<CNoteMenuModel::Item>& items, const Look& look,
              QWidget* parent = nullptr);
    ~CNoteMenu() override;

    // Shows the menu at a screen point and waits; the chosen item's id, 0 when none.
    int Run(const QPoint& globalPos);

    // As the system's menus do, every item also has room for the submenu arrow.
    static constexpr int kArrowColumn = 14;
    QSize ItemSize() const {
        return {(m_choices ? m_itemWidth * 2 / 3 : m_itemWidth) + kArrowColumn, m_itemHeight};
    }
    QSize SeparatorSize() const { return {m_itemWidth + kArrowColumn, 5}; }
    // The action of an item id (this menu and its submenus), for tests and accessibility.
    QAction* ActionOf(int id) const;
    CNoteMenu* SubmenuOf(int id) const;

    static QFont MenuFont();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Build(const std::vector<CNoteMenuModel::Item>& items);
    void PaintItem(QPainter& p, QAction* action, const QRect& r, bool selected) const;

    Look m_look;
    int m_itemWidth = 0, m_itemHeight = 0;
    bool m_choices = false; // a submenu of choices: narrower items
};
