#include "manager/CNoteManagerDlg.h"

#include "app/CTrayCore.h"
#include "app/TrayIds.h"
#include "calendar/CCalendarCtrl.h"
#include "manager/CDateTimeEdit.h"
#include "manager/CManagerFileCommands.h"
#include "manager/CManagerGeometry.h"
#include "manager/CNoteEditForm.h"
#include "manager/CNoteFind.h"
#include "manager/CNoteList.h"
#include "manager/CNoteListModel.h"
#include "manager/CTypeTree.h"
#include "model/CNote.h"
#include "model/CNoteStore.h"
#include "platform/CDialogOwner.h"
#include "platform/Clock.h"
#include "platform/GdiPaint.h"
#include "platform/IDesktopNotices.h"
#include "platform/IDialogs.h"
#include "platform/PlatformServices.h"
#include "platform/SystemColors.h"
#include "platform/SystemMetrics.h"
#include "widgets/CHoverButton.h"
#include "widgets/CRegionButton.h"
#include "widgets/DialogUnits.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

const char* const kTabLabels[] = {" All notes ", " This month ", " This week ", " Today ",
                                  " Trash "};
constexpr int kTimeFilters[] = {CNoteFilter::AllNotes, CNoteFilter::ThisMonth,
                                CNoteFilter::ThisWeek, CNoteFilter::Today};

QColor Blend(const QColor& a, const QColor& b, int p) {
    auto mix = [p](int x, int y) { return (x + (y - x) * p / 100) & 0xFF; };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

} // namespace

CNoteManagerDlg::CNoteManagerDlg(CTrayCore& tray, IDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_tray(tray), m_dialogs(dialogs), m_model(tray) {
    setWindowTitle(QStringLiteral("Note Manager"));
    setFont(DialogUnits::DialogFont());
    setModal(true);
    CNoteStore& store = tray.Store();
    if (store.categories().empty()) store.AddCategory(CTreeNode::MakeRoot());

    m_tree = new CTypeTree(this);
    m_tree->setToolTip(QStringLiteral("Select, Create, Delete a category"));
    m_tree->Attach(store.MutableCategories(), &m_model.View(), &dialogs);
    m_tree->BuildTree();
    m_list = new CNoteList(this);
    m_list->Model()->SetNotes(&m_model.View());
    m_list->Model()->SetSorter(
        [this](CNoteSort::Key key, bool ascending) { m_model.Sort(key, ascending); });
    m_list->SetCategoryTree(m_tree);
    m_files = std::make_unique<CManagerFileCommands>(*this, m_tray, m_dialogs, *m_list);
    m_count = new QLabel(this);
    m_count->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_calendar = new CCalendarCtrl(this);
    m_calendar->setToolTip(QStringLiteral("Calendar"));
    m_calendar->AttachHolidays(&tray.Holidays());
    m_status = new QLabel(this);
    m_find = new QLineEdit(this);
    m_find->setPlaceholderText(QStringLiteral("Find"));
    m_find->setClearButtonEnabled(true);
    m_find->hide();
    m_find->installEventFilter(this);
    m_editor = new CNoteEditForm(this, false, dialogs);
    m_editor->adjustSize();
    CreateToolbar();
    CreateButtonRow();

    connect(m_list, &CNoteList::showNote, this, &CNoteManagerDlg::ShowNote);
    connect(m_list, &CNoteList::postNotes, this,
            [this](const QPoint& p) { PostSelectedNotes(p.x(), p.y()); });
    connect(m_tree, &CTypeTree::categorySelected, this, [this](int id) {
        m_categoryFilter = id;
        RefreshList();
    });
    connect(m_calendar, &CCalendarCtrl::infoChanged, this, [this] {
        if (m_ready && !m_closing) ShowStatusText();
    });
    // The count line and the greying follow the rows, whatever changed them (a drag filing
    // notes out of the category shown among them).
    connect(m_list->Model(), &QAbstractItemModel::modelReset, this, &CNoteManagerDlg::UpdateStatus);
    connect(m_list->Model(), &QAbstractItemModel::rowsInserted, this,
            &CNoteManagerDlg::UpdateStatus);
    connect(m_list->Model(), &QAbstractItemModel::rowsRemoved, this,
            &CNoteManagerDlg::UpdateStatus);
    connect(m_list, &CNoteList::timesShifted, this, [this] {
        for (CNote* n : m_list->SelectedNotes())
            m_model.Updated(*n);
    });
    connect(m_calendar, &CCalendarCtrl::dayPicked, this, &CNoteManagerDlg::TakeCalendarDate);
    connect(m_find, &QLineEdit::textChanged, this, &CNoteManagerDlg::ApplyFind);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, &CNoteManagerDlg::ShowFind);
    auto* fresh = new QShortcut(QKeySequence::New, this);
    connect(fresh, &QShortcut::activated, this, &CNoteManagerDlg::NewNote);
    // The sizing and moving cursors belong to the frame: the parts inside keep their own.
    setMouseTracking(true);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->testAttribute(Qt::WA_SetCursor)) child->setCursor(Qt::ArrowCursor);

    m_model.Sort(CNoteSort::ByTime, true);
    RefreshList();

    const CSettings& s = tray.settings();
    Relayout();
    m_initialHeight = DesignedHeight();
    if (s.m_managerFull) {
        ShowFullView();
        if (!s.m_showCategory) SetCategoryVisible(false);
    } else {
        ShowCompactView();
    }
    if (s.m_managerExtraHeight != 0) {
        auto span = CManagerGeometry::ApplyExtraHeight(y(), m_initialHeight, s.m_managerExtraHeight,
                                                       MinHeight());
        if (const QScreen* sc = screen()) { // remembered on a larger screen
            const QRect a = sc->availableGeometry();
            span.height = std::min(span.height, a.height());
            span.top = std::clamp(span.top, a.top(), a.bottom() + 1 - span.height);
        }
        setGeometry(x(), span.top, width(), span.height);
    }
    m_clock = new QTimer(this);
    connect(m_clock, &QTimer::timeout, this, [this] {
        update(m_band);
        WatchDueNotes();
    });
    m_clock->start(1000);
    m_ready = true;
    m_openedHeight = height();
    ShowStatusText();
    m_list->setFocus();
}

CNoteManagerDlg::~CNoteManagerDlg() = default;

void CNoteManagerDlg::CreateToolbar() {
    struct ToolDef {
        int id, icon;
        const char* tip;
    };
    static const ToolDef tools[] = {{ToolCompact, 233, "Compact View"},
                                    {ToolFull, 234, "Full View"},
                                    {ToolCategory, 235, "Show/Hide Category"},
                                    {ToolSave, 236, "Save to file"},
                                    {ToolPrint, 240, "Print Notes"},
                                    {ToolCalendar, 250, "Calendar File"},
                                    {ToolOptions, 238, "Options"},
                                    {ToolHomePage, 229, "Home Page"},
                                    {ToolHelp, 237, "Help"}};
    for (size_t i = 0; i < std::size(tools); ++i) {
        auto* b = new CHoverButton(this);
        b->SetFlags(CHoverButton::IconButton | CHoverButton::HoverFrame);
        const int size = tools[i].id == ToolHomePage ? 16 : 20;
        b->SetIcons(1, size, size, tools[i].icon);
        b->setToolTip(QString::fromLatin1(tools[i].tip));
        b->setProperty("toolId", tools[i].id);
        b->setFocusPolicy(Qt::NoFocus);
        m_tools[i] = b;
        const int id = tools[i].id;
        connect(b, &QPushButton::clicked, this, [this, id] {
            switch (id) {
            case ToolCompact:
                ShowCompactView();
                break;
            case ToolFull:
                ShowFullView();
                break;
            case ToolCategory:
                m_tray.settings().m_showCategory = m_tree->isHidden() ? 1 : 0;
                SetCategoryVisible(m_tray.settings().m_showCategory);
                break;
            case ToolSave:
                m_files->SaveText();
                break;
            case ToolPrint:
                m_files->Print();
                break;
            case ToolCalendar:
                ShowCalendarMenu();
                break;
            case ToolHelp:
                if (m_command) m_command(TrayId::CmdContents);
                break;
            case ToolHomePage:
                if (m_command) m_command(TrayId::CmdHomepage);
                break;
            case ToolOptions:
                if (m_command) m_command(TrayId::CmdOptions);
                break;
            default:
                break;
            }
        });
    }
}

void CNoteManagerDlg::CreateButtonRow() {
    const QColor face = SystemColors::Get(COLOR_BTNFACE);
    auto rgb = [](int r, int g, int b) {
        return RGB(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
    };
    const COLORREF normal = rgb(face.red(), face.green(), face.blue() + 0x20);
    const COLORREF pressed = rgb(face.red() - 16, face.green() - 16, face.blue() + 0x20);
    const COLORREF disabled = GdiPaint::FromQColor(face);
    const int h = DialogUnits(font()).Y(18) - 6, r = h / 2;
    struct Def {
        int id;
        const char* text;
        QRegion region;
    };
    const Def defs[] = {
        {IdUpdate, "Update",
         QRegion(r - 1, 0, 73 - r, h).united(QRegion(0, 0, h, h, QRegion::Ellipse))},
        {IdAdd, "Add", QRegion(0, 0, 72, h)},
        {IdDelete, "Delete", QRegion(0, 0, 72, h)},
        {IdPost, "Post", QRegion(0, 0, 72, h)},
        {IdClose, "Close",
         QRegion(0, 0, 73 - r, h).united(QRegion(72 - h, 0, h, h, QRegion::Ellipse))},
    };
    static const char* const tips[] = {"Update current selected note", "Add a new note",
                                       "Delete current selected note",
                                       "Post current note to desktop", "Close edit dialog"};
    for (size_t i = 0; i < 5; ++i) {
        auto* b = new CRegionButton(this);
        b->Create(QString::fromLatin1(defs[i].text), CRegionButton::kVisible, 0, 0, defs[i].region,
                  this, defs[i].id, 1, normal, pressed, pressed, disabled);
        b->setToolTip(QString::fromLatin1(tips[i]));
        b->setAutoDefault(false);
        b->setDefault(false);
        m_buttons[i] = b;
    }
    connect(Button(IdUpdate), &QPushButton::clicked, this, &CNoteManagerDlg::UpdateNote);
    connect(Button(IdAdd), &QPushButton::clicked, this, &CNoteManagerDlg::AddNote);
    connect(Button(IdDelete), &QPushButton::clicked, this, &CNoteManagerDlg::DeleteNotes);
    connect(Button(IdPost), &QPushButton::clicked, this, [this] {
        const QRect screen = this->screen()->geometry();
        const CManagerGeometry::Point p = CManagerGeometry::PostOrigin(screen.width());
        PostSelectedNotes(p.x, p.y);
    });
    connect(Button(IdClose), &QPushButton::clicked, this, &CNoteManagerDlg::CloseManager);
}

CRegionButton* CNoteManagerDlg::Button(int id) const {
    for (CRegionButton* b : m_buttons)
        if (b && b->Id() == id) return b;
    return nullptr;
}

CHoverButton* CNoteManagerDlg::Tool(int id) const {
    for (CHoverButton* b : m_tools)
        if (b && b->property("toolId").toInt() == id) return b;
    return nullptr;
}

// ---------------------------------------------------------------- layout

int CNoteManagerDlg::DesignedHeight() const {
    const DialogUnits du(font());
    const int editorFrame = std::max(du.Y(74), m_editor->height() + 4);
    return kFrame + 55 + du.Y(105) + du.Y(11) + du.Y(2) + du.Y(19) + editorFrame + du.Y(1) +
           du.Y(11) + kFrame;
}

int CNoteManagerDlg::MinHeight() const {
    return CManagerGeometry::MinHeight(DesignedHeight(), DialogUnits(font()).Y(105));
}

void CNoteManagerDlg::Relayout() {
    if (m_layingOut) return;
    m_layingOut = true;
    const DialogUnits du(font());
    const CSettings& s = m_tray.settings();
    const bool full = s.m_managerFull, tree = full && s.m_showCategory;
    const int m = kFrame;
    // The list shrinks below its half only when the screen is smaller than that (FitWindow).
    const int floor = minimumHeight() > 0 ? std::min(MinHeight(), minimumHeight()) : MinHeight();
    const int extra = std::max(height() - DesignedHeight(), floor - DesignedHeight());
    const int treeW = du.X(102), gap = du.X(1);
    const int listW = std::max(du.X(288), m_editor->width() + 8);
    const int top = m + 55, listH = du.Y(105) + extra, tabsH = du.Y(11);

    for (size_t i = 0; i < m_tools.size(); ++i)
        m_tools[i]->setGeometry(m + 4 + 28 * int(i), m + 26, 28, 26);
    m_tree->setGeometry(m, top, treeW, listH);
    m_tree->setVisible(tree);
    m_list->SetRightDragEnabled(tree);
    const int listX = tree ? m + treeW + gap : m;
    const int listWidth = full && !tree ? treeW + gap + listW : listW;
    m_list->setGeometry(listX, top, listWidth, listH);
    m_count->setGeometry(m, top + listH, treeW, tabsH);
    m_count->setVisible(tree);

    const int lowerTop = top + listH + tabsH + du.Y(2);
    const int lowerLeft = full ? m + treeW + gap : m;
    const int bandH = du.Y(18);
    int x = lowerLeft + 4;
    for (CRegionButton* b : m_buttons) {
        b->move(x, lowerTop + 3);
        x += 72;
    }
    const int editorTop = lowerTop + bandH + du.Y(1);
    const int editorFrame = std::max(du.Y(74), m_editor->height() + 4);
    m_editor->move(lowerLeft + 4, editorTop + 2);
    m_calendar->setGeometry(m, lowerTop, treeW, editorTop + editorFrame - lowerTop);
    m_calendar->setVisible(full);
    const int totalW = full ? treeW + gap + listW : listW;
    const int statusTop = editorTop + editorFrame + du.Y(1);
    m_status->setGeometry(m, statusTop, totalW, du.Y(11));
    m_find->setGeometry(m + totalW / 2, statusTop - 2, totalW / 2, du.Y(11) + 4);
    m_band = QRect(m, m, totalW, 23);
    m_layingOut = false;
    update();
}

void CNoteManagerDlg::FitWindow() {
    const DialogUnits du(font());
    const bool full = m_tray.settings().m_managerFull;
    const int listW = std::max(du.X(288), m_editor->width() + 8);
    const int w = 2 * kFrame + (full ? du.X(102) + du.X(1) + listW : listW);
    const int extra = height() - DesignedHeight();
    int h = DesignedHeight() + (m_ready ? extra : 0);
    const QScreen* sc = screen();
    const QRect a = sc ? sc->availableGeometry() : QRect();
    // On a small screen (or a large scale) the list gives up rows so that the window fits.
    if (sc) h = std::min(h, a.height());
    setFixedWidth(w);
    setMinimumHeight(sc ? std::min(MinHeight(), a.height()) : MinHeight());
    setMaximumHeight(QWIDGETSIZE_MAX);
    resize(w, h);
    if (sc) move(a.center().x() - w / 2, std::max(a.top(), a.center().y() - h / 2));
    Relayout();
}

void CNoteManagerDlg::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Relayout();
}

void CNoteManagerDlg::ShowCompactView() {
    m_tray.settings().m_managerFull = 0;
    Tool(ToolCompact)->setEnabled(false);
    Tool(ToolCategory)->setEnabled(false);
    Tool(ToolFull)->setEnabled(true);
    m_calendar->GoToToday();
    FitWindow();
    m_list->ResizeColumns();
    if (m_categoryFilter != 0) {
        m_categoryFilter = 0;
        RefreshList();
    }
}

void CNoteManagerDlg::ShowFullView() {
    m_tray.settings().m_managerFull = 1;
    Tool(ToolFull)->setEnabled(false);
    Tool(ToolCategory)->setEnabled(true);
    Tool(ToolCompact)->setEnabled(true);
    FitWindow();
    m_list->ResizeColumns();
    if (m_tray.settings().m_showCategory && m_tree->SelectedId() != m_categoryFilter) {
        m_categoryFilter = m_tree->SelectedId();
        RefreshList();
    }
}

void CNoteManagerDlg::SetCategoryVisible(bool show) {
    if (!show) { // every note of the tab is listed again
        m_tree->setCurrentIndex(m_tree->model()->index(0, 0));
        if (m_categoryFilter != 0) {
            m_categoryFilter = 0;
            RefreshList();
        }
    }
    m_tray.settings().m_showCategory = show ? 1 : 0;
    Relayout();
    m_list->ResizeColumns();
}

// ---------------------------------------------------------------- the list

void CNoteManagerDlg::RefreshList() {
    m_list->Model()->SetFilter(m_categoryFilter, m_timeFilter);
    m_list->RefreshList();
    UpdateStatus();
}

void CNoteManagerDlg::ShowNote(int row) {
    CNote* note = m_list->Model()->NoteAt(row);
    m_freshEntry = false;
    Button(IdUpdate)->setEnabled(note != nullptr);
    m_editor->LoadFromNote(note);
}

void CNoteManagerDlg::EnableNoteButtons(bool on) {
    for (int id : {IdUpdate, IdDelete, IdPost})
        Button(id)->setEnabled(on && !(id == IdUpdate && m_freshEntry));
    if (!on) m_editor->Clear();
}

void CNoteManagerDlg::UpdateStatus() {
    const int rows = m_list->Model()->rowCount();
    EnableNoteButtons(rows != 0);
    m_count->setText(QStringLiteral(" %1 notes").arg(rows));
}

void CNoteManagerDlg::SelectAfterRemoval(int removedRow) {
    const int rows = m_list->Model()->rowCount();
    if (rows == 0) {
        EnableNoteButtons(false);
        return;
    }
    const int row = std::min(removedRow, rows - 1);
    m_list->selectionModel()->setCurrentIndex(m_list->Model()->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
    m_list->scrollTo(m_list->Model()->index(row, 0));
    ShowNote(row);
}

void CNoteManagerDlg::AddNote() {
    auto note = m_model.NewNote(m_categoryFilter);
    if (!m_editor->SaveToNote(*note)) return; // a refused value: nothing is created
    if (note->m_type == CNote::OneTime && note->IsAlarmPast() &&
        m_dialogs.MessageBox("The start time of this reminder has already passed, so it would "
                             "ring as soon as the Note Manager closes.\n\nAdd it all the same?",
                             "Confirmation", IDialogs::YesNo,
                             IDialogs::Question) != IDialogs::AnswerYes)
        return;
    CNote& added = m_model.Add(std::move(note));
    CNoteListModel* rows = m_list->Model();
    if (rows->PassesFilter(added)) {
        const int row = rows->AppendRow(&added);
        m_list->selectionModel()->setCurrentIndex(
            rows->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_list->scrollToBottom();
        m_list->setFocus();
    }
    UpdateStatus();
}

void CNoteManagerDlg::UpdateNote() {
    CNoteListModel* rows = m_list->Model();
    const int row = m_list->CurrentRow();
    CNote* note = rows->NoteAt(row);
    if (!note || !m_editor->SaveToNote(*note)) return;
    m_model.Updated(*note);
    rows->UpdateRow(row);
    if (!rows->PassesFilter(*note)) {
        rows->RemoveRow(row);
        SelectAfterRemoval(row);
    }
    UpdateStatus();
    m_list->setFocus(); // the next key moves in the list, as after Add
}

void CNoteManagerDlg::DeleteNotes() {
    const std::vector<CNote*> notes = m_list->SelectedNotes();
    if (notes.empty()) return;
    const std::string question = "Really delete " + std::to_string(notes.size()) + " item(s) ?";
    if (m_dialogs.MessageBox(question, "Warning !", IDialogs::YesNo, IDialogs::Warning) !=
        IDialogs::AnswerYes)
        return;
    const int current = m_list->CurrentRow();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto result = m_model.Delete(notes);
    m_list->Model()->Refill();
    QApplication::restoreOverrideCursor();
    SelectAfterRemoval(current);
    UpdateStatus();
    if (result.refused > 0)
        m_dialogs.MessageBox("A ringing note is not deleted: answer its alarm first.", "Sorry",
                             IDialogs::Ok, IDialogs::Information);
}

void CNoteManagerDlg::PostSelectedNotes(int x, int y) {
    const QRect screen = this->screen()->geometry();
    m_model.Post(m_list->SelectedNotes(), x, y, screen.width(), screen.height());
    raise(); // the manager stays in front of the notes it posted
}

void CNoteManagerDlg::ShowCalendarMenu() {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Export to Calendar File..."), this,
                   [this] { m_files->ExportCalendar(); });
    menu.addAction(QStringLiteral("Import Calendar File..."), this,
                   &CNoteManagerDlg::ImportCalendarFile);
    const CHoverButton* tool = Tool(ToolCalendar);
    menu.exec(tool->mapToGlobal(QPoint(0, tool->height())));
}

void CNoteManagerDlg::ImportCalendarFile() {
    if (!m_files->ImportCalendar()) return;
    // New categories may have come with the notes.
    m_model.SyncView();
    m_tree->BuildTree();
    RefreshList();
}

void CNoteManagerDlg::TakeCalendarDate() {
    CDateTimeEdit* start = m_editor->StartEdit();
    const COleDateTime picked = m_calendar->Picked();
    const COleDateTime current = start->Value();
    start->SetTime(COleDateTime(picked.GetYear(), picked.GetMonth(), picked.GetDay(),
                                current.GetHour(), current.GetMinute(), 0));
}

void CNoteManagerDlg::ShowStatusText() {
    m_status->setText(m_dueText.empty() ? m_calendar->InfoText()
                                        : QString::fromStdString(m_dueText));
}

void CNoteManagerDlg::WatchDueNotes() {
    if (m_closing) return;
    // Nothing rings while the manager is open (it rings the moment it closes): say so.
    const std::string status =
        m_due.Tell(m_tray.Platform().notices, m_model.View(), Clock::Now(), "the Note Manager");
    if (status != m_dueText) {
        m_dueText = status;
        ShowStatusText();
    }
}

// ---------------------------------------------------------------- tabs and find

int CNoteManagerDlg::TabCount() const {
    return m_tray.settings().m_useTrash ? 5 : 4;
}

QPolygon CNoteManagerDlg::TabShape(int index) const {
    const QFontMetrics fm(font());
    const QRect list = m_list->geometry();
    const int y0 = list.bottom() + 1;
    const int y1 = y0 + fm.height() + 2;
    const int slant = (y1 - y0) / 2;
    int x = list.left() + 1;
    for (int i = 0; i < TabCount(); ++i) {
        const int w = fm.horizontalAdvance(QString::fromLatin1(kTabLabels[i]));
        if (i == index)
            return QPolygon({QPoint(x, y0), QPoint(x + slant, y1), QPoint(x + slant + w, y1),
                             QPoint(x + 2 * slant + w, y0)});
        x += w + slant + (i == 3 ? slant : 0);
    }
    return {};
}

void CNoteManagerDlg::SelectTab(int index) {
    if (index < 0 || index >= TabCount()) return;
    m_tabIndex = index;
    update();
    if (index > 3) return; // the trash tab filters nothing
    if (kTimeFilters[index] != m_timeFilter) {
        m_timeFilter = kTimeFilters[index];
        RefreshList();
    }
}

void CNoteManagerDlg::ShowFind() {
    m_find->show();
    m_find->raise();
    m_find->setFocus();
    m_find->selectAll();
}

void CNoteManagerDlg::NewNote() {
    // No row is the editor's now: Update (and Enter) must not write the new note over one.
    m_list->clearSelection();
    m_freshEntry = true;
    Button(IdUpdate)->setEnabled(false);
    m_editor->NewEntry();
}

bool CNoteManagerDlg::ClearFind() {
    if (m_find->isHidden() && m_find->text().isEmpty()) return false;
    m_find->hide();
    m_find->clear();
    m_list->setFocus();
    return true;
}

void CNoteManagerDlg::reject() {
    // The first Escape ends a find, the next one closes.
    if (!ClearFind()) CloseManager();
}

void CNoteManagerDlg::ApplyFind() {
    CNoteFind find(m_find->text().toStdString());
    // Typing on only ever narrows the list: the rows shown are all that need a look.
    const bool narrows = find.Narrows(m_list->Model()->Find());
    m_list->Model()->SetFind(std::move(find));
    if (narrows) {
        m_list->NarrowList();
        UpdateStatus();
    } else {
        RefreshList();
    }
    if (m_find->isVisible()) m_find->setFocus(); // typing goes on in the field
}

bool CNoteManagerDlg::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_find && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Escape) {
            ClearFind();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_list->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void CNoteManagerDlg::keyPressEvent(QKeyEvent* e) {
    // Enter in a one-line field of the editor (or the list) updates the note; the multi-line
    // text keeps its own Enter.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        e->modifiers() == Qt::NoModifier) {
        if (m_freshEntry)
            AddNote();
        else if (Button(IdUpdate)->isEnabled())
            UpdateNote();
        return;
    }
    QDialog::keyPressEvent(e);
}

// ---------------------------------------------------------------- frame and mouse

QRect CNoteManagerDlg::CloseBox() const {
    const int h = m_band.height();
    return QRect(m_band.right() - h + 1, m_band.top(), h, h);
}

void CNoteManagerDlg::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (e->button() != Qt::LeftButton) return QDialog::mousePressEvent(e);
    if (CloseBox().adjusted(1, 1, -1, -1).contains(p)) {
        CloseManager();
        return;
    }
    for (int i = 0; i < TabCount(); ++i)
        if (TabShape(i).containsPoint(p, Qt::OddEvenFill)) {
            SelectTab(i);
            return;
        }
    const Qt::Edge zone = FrameZone(p);
    if (!zone) return;
    const bool move = zone == Qt::LeftEdge;
    QWindow* w = windowHandle();
    // The window manager does it best (snapping, its own feedback); without one the window
    // follows the pointer here.
    if (w && (move ? w->startSystemMove() : w->startSystemResize(zone))) return;
    m_moving = move;
    m_dragEdges = move ? Qt::Edges() : Qt::Edges(zone);
    m_dragStart = e->globalPosition().toPoint();
    m_dragGeometry = geometry();
}

// Top or bottom: a sizing margin; LeftEdge stands for the band that moves the window.
Qt::Edge CNoteManagerDlg::FrameZone(const QPoint& p) const {
    if (p.y() < kFrame) return Qt::TopEdge;
    if (height() - p.y() < kFrame) return Qt::BottomEdge;
    if (m_band.adjusted(m_band.height(), 0, -m_band.height(), 0).contains(p)) return Qt::LeftEdge;
    return Qt::Edge(0);
}

void CNoteManagerDlg::mouseMoveEvent(QMouseEvent* e) {
    const QPoint delta = e->globalPosition().toPoint() - m_dragStart;
    if (m_moving) {
        move(m_dragGeometry.topLeft() + delta);
        return;
    }
    if (m_dragEdges) {
        QRect r = m_dragGeometry;
        if (m_dragEdges & Qt::TopEdge)
            r.setTop(std::min(r.top() + delta.y(), r.bottom() + 1 - MinHeight()));
        else
            r.setBottom(std::max(r.bottom() + delta.y(), r.top() + MinHeight() - 1));
        setGeometry(r);
        return;
    }
    switch (e->buttons() == Qt::NoButton ? FrameZone(e->position().toPoint()) : Qt::Edge(0)) {
    case Qt::TopEdge:
    case Qt::BottomEdge:
        setCursor(Qt::SizeVerCursor);
        break;
    case Qt::LeftEdge:
        setCursor(Qt::SizeAllCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

void CNoteManagerDlg::mouseReleaseEvent(QMouseEvent* e) {
    m_moving = false;
    m_dragEdges = {};
    QDialog::mouseReleaseEvent(e);
}

void CNoteManagerDlg::paintEvent(QPaintEvent*) {
    if (m_closing) return;
    QPainter p(this);
    p.fillRect(rect(), SystemColors::Get(COLOR_BTNFACE));
    // A nine-pixel border that fades into the face colour.
    QRect r = rect();
    const QColor light = SystemColors::Get(COLOR_BTNHIGHLIGHT),
                 dark = SystemColors::Get(COLOR_3DDKSHADOW),
                 face = SystemColors::Get(COLOR_BTNFACE);
    GdiPaint::Draw3dRect(p, r, light, dark);
    for (int pc = 40; pc <= 96; pc += 8) {
        r.adjust(1, 1, -1, -1);
        GdiPaint::Draw3dRect(p, r, Blend(light, face, pc), Blend(dark, face, pc));
    }
    DrawCaption(p);
    DrawTabs(p);
}

void CNoteManagerDlg::DrawCaption(QPainter& p) const {
    const QColor caption = SystemColors::Get(COLOR_ACTIVECAPTION),
                 captionText = SystemColors::Get(COLOR_CAPTIONTEXT),
                 dark = SystemColors::Get(COLOR_3DDKSHADOW);
    p.fillRect(m_band, caption);
    GdiPaint::Draw3dRect(p, m_band, dark, SystemColors::Get(COLOR_BTNHIGHLIGHT));
    QFont title = font();
    title.setPointSizeF(11.2);
    title.setBold(true);
    p.setFont(title);
    const QRect text = m_band.adjusted(8, 0, 0, 0);
    p.setPen(dark);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Note Manager"));
    p.setPen(captionText);
    p.drawText(text.adjusted(-2, -2, 0, -2), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Note Manager"));
    // The clock, left of the close box.
    QFont clockFont = font();
    clockFont.setPointSizeF(10.2);
    p.setFont(clockFont);
    const QString now = QString::fromStdString(Clock::Now().Format("%I:%M:%S %p"));
    const int h = m_band.height();
    const int tw = QFontMetrics(clockFont).horizontalAdvance(now);
    p.drawText(QRect(m_band.right() - tw - (h - 2) - 12, m_band.top() + 1, tw + 2, h - 2),
               Qt::AlignLeft | Qt::AlignVCenter, now);
    // The toolbar's groove, from the band's left edge to a little past Help.
    const QRect help = Tool(ToolHelp)->geometry();
    const QRect groove(QPoint(m_band.left(), help.top() - 2),
                       QPoint(help.right() + 44, help.bottom() + 2));
    const QColor shadow = SystemColors::Get(COLOR_BTNSHADOW),
                 light = SystemColors::Get(COLOR_BTNHIGHLIGHT);
    GdiPaint::Draw3dRect(p, groove, shadow, light);
    GdiPaint::Draw3dRect(p, groove.adjusted(1, 1, -1, -1), light, shadow);
    // The close box: two overlapping squares.
    const QColor light3d = SystemColors::Get(COLOR_3DLIGHT);
    const QRect a(QPoint(m_band.right() - h + 2, m_band.top() + 4),
                  QPoint(m_band.right() - 4, m_band.bottom() - 4));
    const QRect b(a.topLeft(), QPoint(a.right(), m_band.top() + h / 2));
    for (const QRect& sq : {a, b}) {
        p.setPen(light3d);
        p.setBrush(Qt::NoBrush);
        p.drawRect(sq);
        p.setPen(dark);
        p.drawRect(sq.translated(-1, -1));
    }
}

void CNoteManagerDlg::DrawTabs(QPainter& p) const {
    QFont normal = font();
    normal.setWeight(QFont::Normal);
    p.setFont(normal);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto draw = [&](int i, bool selected) {
        const QPolygon shape = TabShape(i);
        p.setBrush(SystemColors::Get(selected ? COLOR_WINDOW : COLOR_BTNFACE));
        p.setPen(Qt::NoPen);
        p.drawPolygon(shape);
        p.setPen(SystemColors::Get(COLOR_WINDOWTEXT));
        p.drawLine(shape[0], shape[1]);
        p.drawLine(shape[1], shape[2]);
        p.drawLine(shape[2], shape[3]);
        p.setPen(SystemColors::Get(selected ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
        const int slant = shape[1].x() - shape[0].x();
        const QRect box(QPoint(shape[0].x() + slant, shape[0].y()), shape[2]);
        p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, QString::fromLatin1(kTabLabels[i]));
    };
    for (int i = 0; i < TabCount(); ++i)
        if (i != m_tabIndex) draw(i, false);
    draw(m_tabIndex, true);
}

void CNoteManagerDlg::CloseManager() {
    if (m_closing) return;
    m_closing = true;
    // Squeezed onto a small screen but not resized, the height the user chose stays remembered.
    if (height() != m_openedHeight)
        m_tray.settings().m_managerExtraHeight = height() - m_initialHeight;
    m_clock->stop();
    m_due.WithdrawAll(m_tray.Platform().notices); // the notes ring now instead
    m_model.Sort(CNoteSort::ByTime, true);        // the notes are left in time order
    QDialog::accept();
}
