#include "gui/notemenu/CNoteMenu.h"

#include "core/platform/SystemMetrics.h"
#include "core/sticky/NoteColors.h"
#include "gui/notemenu/CNoteMenuStyle.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

namespace {
constexpr COLORREF kSelectedFill = RGB(75, 75, 192);
constexpr COLORREF kCheckedBox = RGB(23, 255, 191);

int IdOf(const QAction* a) {
    return a ? a->data().toInt() : 0;
}
} // namespace

CNoteMenu::CNoteMenu(const std::vector<CNoteMenuModel::Item>& items, const Look& look,
                     QWidget* parent)
    : QMenu(parent), m_look(look) {
    setObjectName(QStringLiteral("NoteMenu"));
    setStyle(CNoteMenuStyle::Instance());
    setFont(look.font);
    const QFontMetrics fm(look.font);
    m_itemWidth = fm.horizontalAdvance(QString::fromStdString(CNoteMenuModel::WidthSample()));
    // The system's menu bar height less one, plus one pixel above and below.
    const int menuHeight = fm.height() + 6;
    const CNoteMenuModel::Item probe;
    m_itemHeight = CNoteMenuModel::Measure(probe, m_itemWidth, menuHeight).cy;
    m_choices = !items.empty() && items.front().IsChoice();
    Build(items);
}

CNoteMenu::~CNoteMenu() {
    // Submenus are not children of their menu: they go with it.
    for (QAction* a : actions())
        if (QMenu* sub = a->menu()) delete sub;
}

QFont CNoteMenu::MenuFont() {
    return QApplication::font("QMenu");
}

void CNoteMenu::Build(const std::vector<CNoteMenuModel::Item>& items) {
    for (const CNoteMenuModel::Item& item : items) {
        QAction* a = nullptr;
        if (item.IsSeparator()) {
            a = addSeparator();
        } else if (!item.children.empty()) {
            auto* sub = new CNoteMenu(item.children, m_look, nullptr);
            sub->setTitle(QString::fromStdString(item.label));
            a = addMenu(sub);
        } else {
            a = addAction(QString::fromStdString(item.label));
            a->setCheckable(item.IsChoice());
            a->setChecked(item.checked);
        }
        a->setData(item.id);
    }
}

int CNoteMenu::Run(const QPoint& globalPos) {
    return IdOf(exec(globalPos));
}

QAction* CNoteMenu::ActionOf(int id) const {
    for (QAction* a : actions()) {
        if (IdOf(a) == id && !a->isSeparator()) return a;
        if (auto* sub = qobject_cast<CNoteMenu*>(a->menu()))
            if (QAction* found = sub->ActionOf(id)) return found;
    }
    return nullptr;
}

CNoteMenu* CNoteMenu::SubmenuOf(int id) const {
    QAction* a = ActionOf(id);
    return a ? qobject_cast<CNoteMenu*>(a->menu()) : nullptr;
}

void CNoteMenu::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    p.fillRect(rect(), SystemColors::Get(COLOR_MENU));
    GdiPaint::Draw3dRect(p, rect(), SystemColors::Get(COLOR_3DLIGHT),
                         SystemColors::Get(COLOR_3DDKSHADOW));
    GdiPaint::Draw3dRect(p, rect().adjusted(1, 1, -1, -1), SystemColors::Get(COLOR_BTNHIGHLIGHT),
                         SystemColors::Get(COLOR_BTNSHADOW));
    p.setFont(font());
    for (QAction* a : actions()) {
        const QRect r = actionGeometry(a);
        if (r.isValid() && event->region().intersects(r)) PaintItem(p, a, r, a == activeAction());
    }
}

void CNoteMenu::PaintItem(QPainter& p, QAction* a, const QRect& r, bool selected) const {
    const int id = IdOf(a);
    if (a->isSeparator()) {
        // An etched line across the middle.
        const int middle = r.top() + r.height() / 2;
        GdiPaint::Draw3dRect(p, QRect(QPoint(r.left(), middle - 1), QPoint(r.right(), middle)),
                             SystemColors::Get(COLOR_BTNSHADOW),
                             SystemColors::Get(COLOR_BTNHIGHLIGHT));
        return;
    }
    CNoteMenuModel::Item item;
    item.id = id;
    QColor fill, text;
    if (const int scheme = item.SchemeIndex(); scheme >= 0) {
        fill = GdiPaint::ToQColor(m_look.schemeBack[scheme]);
        text = GdiPaint::ToQColor(m_look.schemeText[scheme]);
    } else if (id == CNoteMenuModel::MyBackColor || id == CNoteMenuModel::MyTextColor) {
        fill = GdiPaint::ToQColor(m_look.noteBack);
        text = GdiPaint::ToQColor(m_look.noteText);
    } else if (selected) {
        fill = GdiPaint::ToQColor(kSelectedFill);
        text = Qt::white;
    } else {
        fill = SystemColors::Get(COLOR_MENU);
        text = SystemColors::Get(COLOR_MENUTEXT);
    }
    p.fillRect(r, fill);
    int labelLeft = CNoteMenuModel::kLabelLeft;
    if (item.IsChoice()) {
        const int third = r.height() / 3;
        const QRect box(QPoint(r.left() + 1, r.top() + third),
                        QPoint(r.left() + 10, r.bottom() - third));
        const COLORREF menu = GdiPaint::FromQColor(SystemColors::Get(COLOR_MENU));
        p.fillRect(box, GdiPaint::ToQColor(a->isChecked() ? kCheckedBox
                                                          : ShiftColor(menu, -10, -10, -10)));
        GdiPaint::Draw3dRect(p, box, SystemColors::Get(COLOR_3DDKSHADOW),
                             SystemColors::Get(COLOR_3DLIGHT));
        labelLeft = CNoteMenuModel::kChoiceLabelLeft;
    }
    p.setPen(text);
    p.drawText(r.adjusted(labelLeft, 0, 0, 0),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, a->text());
    if (a->menu()) {
        // The submenu arrow, as every menu shows one.
        const int s = r.height() / 4, cx = r.right() - 6, cy = r.center().y();
        p.setBrush(text);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon(
            {QPoint(cx - s / 2, cy - s), QPoint(cx + s / 2, cy), QPoint(cx - s / 2, cy + s)}));
    }
    if (selected)
        GdiPaint::Draw3dRect(p, r, SystemColors::Get(COLOR_3DDKSHADOW),
                             SystemColors::Get(COLOR_BTNHIGHLIGHT));
}
