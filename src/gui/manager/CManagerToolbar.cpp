#include "gui/manager/CManagerToolbar.h"

#include "core/platform/SystemMetrics.h"
#include "gui/manager/CNoteManagerDlg.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"
#include "gui/widgets/CHoverButton.h"
#include "gui/widgets/CRegionButton.h"
#include "gui/widgets/DialogUnits.h"

#include <algorithm>

void CManagerToolbar::Create(QWidget& window, std::function<void(int)> onTool) {
    m_onTool = std::move(onTool);
    CreateTools(window);
    CreateButtons(window);
}

void CManagerToolbar::CreateTools(QWidget& window) {
    struct ToolDef {
        int id, icon;
        const char* tip;
    };
    static const ToolDef tools[] = {{CNoteManagerDlg::ToolCompact, 233, "Compact View"},
                                    {CNoteManagerDlg::ToolFull, 234, "Full View"},
                                    {CNoteManagerDlg::ToolCategory, 235, "Show/Hide Category"},
                                    {CNoteManagerDlg::ToolSave, 236, "Save to file"},
                                    {CNoteManagerDlg::ToolPrint, 240, "Print Notes"},
                                    {CNoteManagerDlg::ToolCalendar, 250, "Calendar File"},
                                    {CNoteManagerDlg::ToolOptions, 238, "Options"},
                                    {CNoteManagerDlg::ToolHomePage, 229, "Home Page"},
                                    {CNoteManagerDlg::ToolHelp, 237, "Help"}};
    for (size_t i = 0; i < std::size(tools); ++i) {
        auto* b = new CHoverButton(&window);
        b->SetFlags(CHoverButton::IconButton | CHoverButton::HoverFrame);
        const int size = tools[i].id == CNoteManagerDlg::ToolHomePage ? 16 : 20;
        b->SetIcons(1, size, size, tools[i].icon);
        b->setToolTip(QString::fromLatin1(tools[i].tip));
        b->setProperty("toolId", tools[i].id);
        b->setFocusPolicy(Qt::NoFocus);
        m_tools[i] = b;
        const int id = tools[i].id;
        QObject::connect(b, &QPushButton::clicked, &window, [this, id] { m_onTool(id); });
    }
}

void CManagerToolbar::CreateButtons(QWidget& window) {
    const QColor face = SystemColors::Get(COLOR_BTNFACE);
    auto rgb = [](int r, int g, int b) {
        return RGB(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
    };
    const COLORREF normal = rgb(face.red(), face.green(), face.blue() + 0x20);
    const COLORREF pressed = rgb(face.red() - 16, face.green() - 16, face.blue() + 0x20);
    const COLORREF disabled = GdiPaint::FromQColor(face);
    const int h = DialogUnits(window.font()).Y(18) - 6, r = h / 2;
    struct Def {
        int id;
        const char* text;
        QRegion region;
    };
    const Def defs[] = {
        {CNoteManagerDlg::IdUpdate, "Update",
         QRegion(r - 1, 0, 73 - r, h).united(QRegion(0, 0, h, h, QRegion::Ellipse))},
        {CNoteManagerDlg::IdAdd, "Add", QRegion(0, 0, 72, h)},
        {CNoteManagerDlg::IdDelete, "Delete", QRegion(0, 0, 72, h)},
        {CNoteManagerDlg::IdPost, "Post", QRegion(0, 0, 72, h)},
        {CNoteManagerDlg::IdClose, "Close",
         QRegion(0, 0, 73 - r, h).united(QRegion(72 - h, 0, h, h, QRegion::Ellipse))},
    };
    static const char* const tips[] = {"Update current selected note", "Add a new note",
                                       "Delete current selected note",
                                       "Post current note to desktop", "Close edit dialog"};
    for (size_t i = 0; i < 5; ++i) {
        auto* b = new CRegionButton(&window);
        b->Create(QString::fromLatin1(defs[i].text), CRegionButton::kVisible, 0, 0, defs[i].region,
                  &window, defs[i].id, 1, normal, pressed, pressed, disabled);
        b->setToolTip(QString::fromLatin1(tips[i]));
        b->setAutoDefault(false);
        b->setDefault(false);
        m_buttons[i] = b;
    }
}

CRegionButton* CManagerToolbar::Button(int id) const {
    for (CRegionButton* b : m_buttons)
        if (b && b->Id() == id) return b;
    return nullptr;
}

CHoverButton* CManagerToolbar::Tool(int id) const {
    for (CHoverButton* b : m_tools)
        if (b && b->property("toolId").toInt() == id) return b;
    return nullptr;
}

void CManagerToolbar::PlaceTools(int left, int top) {
    for (size_t i = 0; i < m_tools.size(); ++i)
        m_tools[i]->setGeometry(left + 28 * int(i), top, 28, 26);
}

void CManagerToolbar::PlaceButtons(int left, int top) {
    for (CRegionButton* b : m_buttons) {
        b->move(left, top);
        left += 72;
    }
}
