#include "gui/app/CTrayMenuWnd.h"

#include "core/platform/SystemMetrics.h"
#include "gui/app/CTrayMenuAccessible.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/ResourceImages.h"
#include "gui/platform/SystemColors.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <algorithm>
#include <map>

namespace {

constexpr int kFrame = 3; // raised edge of two pixels and one of menu colour
constexpr int kArrowSpace = 14;

const QIcon& IconFor(int id) {
    static std::map<int, QIcon> cache;
    auto it = cache.find(id);
    if (it == cache.end()) it = cache.emplace(id, ResourceImages::Icon(id)).first;
    return it->second;
}

QRect ScreenArea(const QPoint& global) {
    QScreen* screen = QGuiApplication::screenAt(global);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1 << 15, 1 << 15);
}

// Keeps [pos, pos + size) inside [low, high): when it does not fit after pos, use the place
// before flip (the other side of the anchor), and never leave the area.
int Fit(int pos, int size, int low, int high, int flip) {
    if (pos + size > high) pos = flip - size;
    return std::clamp(pos, low, std::max(low, high - size));
}

} // namespace

CTrayMenuWnd::CTrayMenuWnd(CTrayMenu model, const QFont& font)
    : CTrayMenuWnd(nullptr, nullptr, nullptr, font) {
    m_ownModel = std::make_unique<CTrayMenu>(std::move(model));
    m_model = m_ownModel.get();
    m_items = &m_model->m_items;
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    m_openTimer.setSingleShot(true);
    connect(&m_openTimer, &QTimer::timeout, this, [this] {
        if (m_openTarget && m_openTarget->m_selected == m_openIndex && !m_openTarget->m_submenu)
            m_openTarget->OpenSubmenu(false);
    });
    Layout();
}

CTrayMenuWnd::CTrayMenuWnd(const CTrayMenu* model, const std::vector<CTrayMenuItem>* items,
                           CTrayMenuWnd* parentMenu, const QFont& font)
    : QWidget(nullptr), m_model(model), m_items(items), m_parentMenu(parentMenu), m_font(font) {
    static const bool accessible = [] {
        QAccessible::installFactory(&CTrayMenuAccessible::Create);
        return true;
    }();
    (void)accessible;
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setFont(font);
    if (m_items) Layout();
}

CTrayMenuWnd::~CTrayMenuWnd() {
    delete m_submenu;
}

QFont CTrayMenuWnd::MenuFont() {
    return QApplication::font("QMenu");
}

int CTrayMenuWnd::SystemMenuHeight(const QFont& font) {
    // A menu bar is the font's line height and three pixels above and below.
    return QFontMetrics(font).height() + 6;
}

void CTrayMenuWnd::ApplyFontMetrics(CTrayMenu& model, const QFont& font) {
    QFontMetrics fm(font);
    model.SetMetrics(fm.horizontalAdvance(QString::fromStdString(CTrayMenu::WidthSample())),
                     SystemMenuHeight(font));
}

int CTrayMenuWnd::IndexOfData(int data) const {
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i).data == data && !Item(i).separator) return i;
    return -1;
}

void CTrayMenuWnd::Layout() {
    QFontMetrics fm(m_font);
    int width = 0;
    std::vector<int> heights;
    for (const CTrayMenuItem& item : *m_items) {
        CTrayMenu::Size size =
            m_model->Measure(item, fm.horizontalAdvance(QString::fromStdString(item.text)));
        width = std::max(width, size.cx);
        heights.push_back(size.cy);
    }
    m_rects.clear();
    int y = kFrame;
    for (int h : heights) {
        m_rects.emplace_back(kFrame, y, width, h);
        y += h;
    }
    setFixedSize(width + 2 * kFrame, y + kFrame);
}

void CTrayMenuWnd::Popup(const QPoint& pos) {
    QRect area = ScreenArea(pos);
    int x = Fit(pos.x(), width(), area.left(), area.right() + 1, pos.x());
    int y = Fit(pos.y(), height(), area.top(), area.bottom() + 1, pos.y());
    move(x, y);
    show();
    raise();
    activateWindow();
}

CTrayMenuWnd* CTrayMenuWnd::Root() {
    CTrayMenuWnd* w = this;
    while (w->m_parentMenu)
        w = w->m_parentMenu;
    return w;
}

CTrayMenuWnd* CTrayMenuWnd::Deepest() {
    CTrayMenuWnd* w = this;
    while (w->m_submenu)
        w = w->m_submenu;
    return w;
}

CTrayMenuWnd* CTrayMenuWnd::KeyboardMenu() {
    for (CTrayMenuWnd* w = Deepest(); w; w = w->m_parentMenu)
        if (w->m_selected >= 0) return w;
    return this;
}

int CTrayMenuWnd::ItemAt(const QPoint& local) const {
    for (size_t i = 0; i < m_rects.size(); ++i)
        if (m_rects[i].contains(local)) return static_cast<int>(i);
    return -1;
}

CTrayMenuWnd* CTrayMenuWnd::MenuAt(const QPoint& global, int* index) {
    // The deepest menu first: submenus may overlap their parent.
    std::vector<CTrayMenuWnd*> chain;
    for (CTrayMenuWnd* w = this; w; w = w->m_submenu)
        chain.push_back(w);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        CTrayMenuWnd* w = *it;
        if (w->isVisible() && QRect(w->pos(), w->size()).contains(global)) {
            *index = w->ItemAt(w->mapFromGlobal(global));
            return w;
        }
    }
    *index = -1;
    return nullptr;
}

// ---------------------------------------------------------------- selection

void CTrayMenuWnd::Select(int index) {
    if (index >= 0 && !Item(index).Selectable()) index = -1;
    if (index == m_selected) return;
    m_selected = index;
    update();
    // Screen readers follow the selection as they would in a native menu.
    if (index >= 0 && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    }
}

void CTrayMenuWnd::ActivateItem(int index) {
    if (index < 0 || index >= ItemCount()) return;
    Activate(index, true);
}

void CTrayMenuWnd::Hover(int index) {
    if (index < 0 || index == m_selected) return;
    CloseSubmenu();
    Select(index);
    if (m_selected >= 0 && Item(m_selected).submenu) Root()->StartOpenTimer(this, m_selected);
}

void CTrayMenuWnd::MoveSelection(int step) {
    const int n = ItemCount();
    int i = m_selected >= 0 ? m_selected : (step > 0 ? -1 : n);
    for (int tries = 0; tries < n; ++tries) {
        i = (i + step + n) % n;
        if (Item(i).ShowsSelection()) {
            CloseSubmenu();
            Select(i);
            return;
        }
    }
}

void CTrayMenuWnd::StartOpenTimer(CTrayMenuWnd* menu, int index) {
    m_openTarget = menu;
    m_openIndex = index;
    m_openTimer.start(kSubmenuDelayMs);
}

void CTrayMenuWnd::OpenSubmenu(bool selectFirst) {
    if (m_selected < 0 || m_submenu) return;
    const CTrayMenuItem& header = Item(m_selected);
    if (!header.submenu || !header.Selectable() || header.children.empty()) return;
    m_submenu = new CTrayMenuWnd(m_model, &header.children, this, m_font);
    PlaceSubmenu();
    m_submenu->show();
    if (selectFirst) m_submenu->MoveSelection(1);
}

void CTrayMenuWnd::PlaceSubmenu() {
    const QRect header = m_rects[m_selected];
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    const QRect area = ScreenArea(topLeft);
    // Beside this menu, with the first item level with the header item.
    int x = Fit(topLeft.x() + width() - kFrame, m_submenu->width(), area.left(), area.right() + 1,
                topLeft.x() + kFrame);
    int y = topLeft.y() + header.top() - kFrame;
    y = Fit(y, m_submenu->height(), area.top(), area.bottom() + 1, area.bottom() + 1);
    m_submenu->move(x, y);
}

void CTrayMenuWnd::CloseSubmenu() {
    if (!m_submenu) return;
    m_submenu->CloseSubmenu();
    m_submenu->hide();
    m_submenu->m_parentMenu = nullptr;
    m_submenu->deleteLater();
    m_submenu = nullptr;
}

void CTrayMenuWnd::Activate(int index, bool fromKeyboard) {
    const CTrayMenuItem& item = Item(index);
    if (!item.Selectable()) return;
    if (item.submenu) {
        Select(index);
        if (!m_submenu)
            OpenSubmenu(fromKeyboard);
        else if (fromKeyboard && m_submenu->m_selected < 0)
            m_submenu->MoveSelection(1);
        return;
    }
    // Report lines have no command; choosing one only closes the menu.
    Root()->Finish(item.command);
}

void CTrayMenuWnd::Finish(int command) {
    if (m_finished) return;
    m_finished = true;
    m_openTimer.stop();
    CloseSubmenu();
    hide();
    if (command) emit commandChosen(command);
}

// ---------------------------------------------------------------- input

void CTrayMenuWnd::mouseMoveEvent(QMouseEvent* event) {
    Root()->HandleMove(event->globalPosition().toPoint());
}

void CTrayMenuWnd::mousePressEvent(QMouseEvent* event) {
    Root()->HandlePress(event->globalPosition().toPoint(), event->button());
}

void CTrayMenuWnd::mouseReleaseEvent(QMouseEvent* event) {
    Root()->HandleRelease(event->globalPosition().toPoint(), event->button());
}

void CTrayMenuWnd::keyPressEvent(QKeyEvent* event) {
    Root()->HandleKey(event->key());
}

void CTrayMenuWnd::HandleMove(const QPoint& global) {
    int index;
    if (CTrayMenuWnd* menu = MenuAt(global, &index)) {
        menu->Hover(index);
        // A line too long even for the widened weather menu is elided: the whole text shows
        // under the pointer.
        const QString full = menu->ElidedItemText(index);
        if (full.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(global, full, menu, menu->ItemRect(index));
        return;
    }
    // Off the menus: the selection goes, except on a header whose submenu is open.
    CTrayMenuWnd* deepest = Deepest();
    if (!deepest->m_submenu) deepest->Select(-1);
}

void CTrayMenuWnd::HandlePress(const QPoint& global, Qt::MouseButton button) {
    int index;
    CTrayMenuWnd* menu = MenuAt(global, &index);
    if (!menu) {
        Finish(0); // a click elsewhere only closes the menu
        return;
    }
    if (button != Qt::LeftButton) return;
    m_pressedInside = true;
    if (index >= 0 && menu->Item(index).submenu) {
        menu->Hover(index);
        if (menu->m_selected == index) menu->OpenSubmenu(false);
    }
}

void CTrayMenuWnd::HandleRelease(const QPoint& global, Qt::MouseButton button) {
    // Only the left button chooses, and only after it was pressed in the menu: the release
    // of the button that opened the menu is not a choice.
    if (button != Qt::LeftButton || !m_pressedInside) return;
    int index;
    CTrayMenuWnd* menu = MenuAt(global, &index);
    if (!menu || index < 0) return;
    if (menu->Item(index).submenu) return; // the press opened it already
    menu->Activate(index, false);
}

void CTrayMenuWnd::HandleKey(int key) {
    CTrayMenuWnd* menu = KeyboardMenu();
    switch (key) {
    case Qt::Key_Down:
        menu->MoveSelection(1);
        break;
    case Qt::Key_Up:
        menu->MoveSelection(-1);
        break;
    case Qt::Key_Right:
        if (menu->m_selected >= 0 && menu->Item(menu->m_selected).submenu)
            menu->Activate(menu->m_selected, true);
        break;
    case Qt::Key_Left:
    case Qt::Key_Escape: {
        CTrayMenuWnd* deepest = Deepest();
        if (deepest->m_parentMenu)
            deepest->m_parentMenu->CloseSubmenu();
        else if (key == Qt::Key_Escape)
            Finish(0);
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (menu->m_selected >= 0) menu->Activate(menu->m_selected, true);
        break;
    default:
        break;
    }
}

void CTrayMenuWnd::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_parentMenu) return;
    m_openTimer.stop();
    CloseSubmenu();
    m_finished = true;
    emit closed();
}

// ---------------------------------------------------------------- painting

void CTrayMenuWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), SystemColors::Get(COLOR_MENU));
    PaintFrame(p);
    p.setFont(m_font);
    for (int i = 0; i < ItemCount(); ++i) {
        if (Item(i).ownerDrawn)
            PaintOwnerDrawn(p, i);
        else
            PaintPlain(p, i);
    }
}

void CTrayMenuWnd::PaintFrame(QPainter& p) {
    const int w = width(), h = height();
    auto edge = [&](int inset, int topLeftColor, int bottomRightColor) {
        QColor tl = SystemColors::Get(topLeftColor), br = SystemColors::Get(bottomRightColor);
        p.fillRect(inset, inset, w - 2 * inset - 1, 1, tl);
        p.fillRect(inset, inset, 1, h - 2 * inset - 1, tl);
        p.fillRect(inset, h - inset - 1, w - 2 * inset, 1, br);
        p.fillRect(w - inset - 1, inset, 1, h - 2 * inset, br);
    };
    edge(0, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    edge(1, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

static void PaintEtchedLine(QPainter& p, const QRect& r, int inset) {
    int y = r.top() + r.height() / 2 - 1;
    p.fillRect(r.left() + inset, y, r.width() - 2 * inset, 1, SystemColors::Get(COLOR_BTNSHADOW));
    p.fillRect(r.left() + inset, y + 1, r.width() - 2 * inset, 1,
               SystemColors::Get(COLOR_BTNHIGHLIGHT));
}

QRect CTrayMenuWnd::TextRect(int index) const {
    return m_rects[index].adjusted(CTrayMenu::kTextLeft, 0, Item(index).submenu ? -kArrowSpace : 0,
                                   0);
}

QString CTrayMenuWnd::ElidedItemText(int index) const {
    if (index < 0 || index >= ItemCount() || !Item(index).ownerDrawn) return {};
    const QString text = QString::fromStdString(Item(index).text);
    return QFontMetrics(m_font).horizontalAdvance(text) > TextRect(index).width() ? text
                                                                                  : QString();
}

void CTrayMenuWnd::PaintOwnerDrawn(QPainter& p, int index) {
    const CTrayMenuItem& item = Item(index);
    const QRect r = m_rects[index];
    if (item.separator) {
        PaintEtchedLine(p, r, 0);
        return;
    }
    const bool selected = index == m_selected && item.ShowsSelection();
    const QColor fill =
        selected ? GdiPaint::ToQColor(CTrayMenu::kSelectedFill) : SystemColors::Get(COLOR_MENU);
    const QColor text = selected      ? GdiPaint::ToQColor(CTrayMenu::kSelectedText)
                        : item.greyed ? SystemColors::Get(COLOR_GRAYTEXT)
                                      : SystemColors::Get(COLOR_MENUTEXT);
    p.fillRect(r, fill);

    if (item.icon) {
        QRect iconRect(r.left() + CTrayMenu::kIconLeft,
                       r.top() + (r.height() - CTrayMenu::kIconSize) / 2, CTrayMenu::kIconSize,
                       CTrayMenu::kIconSize);
        IconFor(item.icon).paint(&p, iconRect, Qt::AlignCenter,
                                 item.greyed ? QIcon::Disabled : QIcon::Normal);
    }

    const QRect textRect = TextRect(index);
    p.setPen(text);
    // A line longer than its menu allows (a very long place) ends in an ellipsis rather than
    // being cut off mid-letter.
    const QString line = p.fontMetrics().elidedText(QString::fromStdString(item.text),
                                                    Qt::ElideRight, textRect.width());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);

    if (selected) {
        // Sunken: shadow along the top and left, highlight along the bottom and right.
        QColor shadow = SystemColors::Get(COLOR_BTNSHADOW);
        QColor light = SystemColors::Get(COLOR_BTNHIGHLIGHT);
        p.fillRect(r.left(), r.top(), r.width() - 1, 1, shadow);
        p.fillRect(r.left(), r.top(), 1, r.height() - 1, shadow);
        p.fillRect(r.left(), r.bottom(), r.width(), 1, light);
        p.fillRect(r.right(), r.top(), 1, r.height(), light);
    }
    if (item.submenu) PaintArrow(p, r, text);
}

void CTrayMenuWnd::PaintPlain(QPainter& p, int index) {
    const CTrayMenuItem& item = Item(index);
    const QRect r = m_rects[index];
    if (item.separator) {
        PaintEtchedLine(p, r, 1);
        return;
    }
    const bool selected = index == m_selected && item.ShowsSelection();
    p.fillRect(r, SystemColors::Get(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const QRect textRect = r.adjusted(CTrayMenu::kTextLeft, 0, -CTrayMenu::kPlainRightMargin, 0);
    const QString text = QString::fromStdString(item.text);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    if (item.greyed) {
        // Greyed the way plain menus do it: engraved into the menu.
        p.setPen(SystemColors::Get(COLOR_BTNHIGHLIGHT));
        p.drawText(textRect.translated(1, 1), flags, text);
        p.setPen(SystemColors::Get(COLOR_GRAYTEXT));
    } else {
        p.setPen(SystemColors::Get(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
    p.drawText(textRect, flags, text);
}

void CTrayMenuWnd::PaintArrow(QPainter& p, const QRect& item, const QColor& color) {
    const int x = item.right() - 9;
    const int y = item.top() + item.height() / 2;
    // A small solid triangle, one column at a time so that it stays crisp.
    for (int i = 0; i < 4; ++i)
        p.fillRect(x + i, y - 3 + i, 1, 7 - 2 * i, color);
}
