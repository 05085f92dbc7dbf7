#include "gui/manager/CNoteManagerDlg.h"

#include "core/app/TrayIds.h"
#include "core/manager/CManagerGeometry.h"
#include "core/manager/CNoteFind.h"
#include "core/manager/IManagerHost.h"
#include "core/model/CNote.h"
#include "core/model/CNoteStore.h"
#include "core/model/CSettings.h"
#include "core/platform/Clock.h"
#include "core/platform/IDesktopNotices.h"
#include "core/platform/IDialogs.h"
#include "core/platform/PlatformServices.h"
#include "core/platform/SystemMetrics.h"
#include "gui/calendar/CCalendarCtrl.h"
#include "gui/manager/CDateTimeEdit.h"
#include "gui/manager/CManagerChrome.h"
#include "gui/manager/CManagerFileCommands.h"
#include "gui/manager/CManagerStatusLine.h"
#include "gui/manager/CNoteEditForm.h"
#include "gui/manager/CNoteList.h"
#include "gui/manager/CNoteListModel.h"
#include "gui/manager/CTypeTree.h"
#include "gui/platform/CDialogOwner.h"
#include "gui/widgets/CHoverButton.h"
#include "gui/widgets/CRegionButton.h"
#include "gui/widgets/DialogUnits.h"

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
#include <algorithm>

namespace {

constexpr int kTimeFilters[] = {CNoteFilter::AllNotes, CNoteFilter::ThisMonth,
                                CNoteFilter::ThisWeek, CNoteFilter::Today};

} // namespace

CNoteManagerDlg::CNoteManagerDlg(IManagerHost& tray, IDialogs& dialogs, QWidget* parent)
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
    m_statusLine = new CManagerStatusLine(*this, *m_calendar);
    m_editor = new CNoteEditForm(this, false, dialogs);
    m_editor->adjustSize();
    m_toolbar.Create(*this, [this](int id) { RunTool(id); });
    ConnectButtons();
    m_layout = std::make_unique<CManagerLayout>(
        *this, CManagerLayout::Parts{m_tree, m_list, m_count, m_editor, m_calendar, &m_toolbar,
                                     m_statusLine});

    connect(m_list, &CNoteList::showNote, this, &CNoteManagerDlg::ShowNote);
    connect(m_list, &CNoteList::postNotes, this,
            [this](const QPoint& p) { PostSelectedNotes(p.x(), p.y()); });
    connect(m_tree, &CTypeTree::categorySelected, this, [this](int id) {
        m_categoryFilter = id;
        RefreshList();
    });
    connect(m_calendar, &CCalendarCtrl::infoChanged, this, [this] {
        if (m_ready && !m_closing) m_statusLine->ShowText();
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
    connect(m_statusLine, &CManagerStatusLine::findChanged, this, &CNoteManagerDlg::ApplyFind);
    connect(m_statusLine, &CManagerStatusLine::findLeft, m_list, [this] { m_list->setFocus(); });
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
    if (s.m_managerExtraHeight != 0)
        m_layout->RestoreHeight(m_initialHeight, s.m_managerExtraHeight);
    m_clock = new QTimer(this);
    connect(m_clock, &QTimer::timeout, this, [this] {
        update(m_band);
        WatchDueNotes();
    });
    m_clock->start(1000);
    m_ready = true;
    m_openedHeight = height();
    m_statusLine->ShowText();
    m_list->setFocus();
}

CNoteManagerDlg::~CNoteManagerDlg() = default;

void CNoteManagerDlg::RunTool(int id) {
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
}

void CNoteManagerDlg::ConnectButtons() {
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

QLabel* CNoteManagerDlg::StatusLine() const {
    return m_statusLine->Label();
}

QLineEdit* CNoteManagerDlg::FindField() const {
    return m_statusLine->FindField();
}

// ---------------------------------------------------------------- layout

int CNoteManagerDlg::DesignedHeight() const {
    return m_layout->DesignedHeight();
}

int CNoteManagerDlg::MinHeight() const {
    return m_layout->MinHeight();
}

void CNoteManagerDlg::Relayout() {
    if (m_layingOut) return;
    m_layingOut = true;
    const CSettings& s = m_tray.settings();
    m_band = m_layout->Place(s.m_managerFull, s.m_managerFull && s.m_showCategory);
    m_layingOut = false;
    update();
}

void CNoteManagerDlg::FitWindow() {
    m_layout->Fit(m_tray.settings().m_managerFull, m_ready);
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

void CNoteManagerDlg::WatchDueNotes() {
    if (m_closing) return;
    // Nothing rings while the manager is open (it rings the moment it closes): say so.
    m_statusLine->WatchDue(m_tray.Platform().notices, m_model.View(), Clock::Now());
}

// ---------------------------------------------------------------- tabs and find

int CNoteManagerDlg::TabCount() const {
    return m_tray.settings().m_useTrash ? 5 : 4;
}

QPolygon CNoteManagerDlg::TabShape(int index) const {
    return CManagerChrome::TabShape(font(), m_list->geometry(), TabCount(), index);
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
    m_statusLine->ShowFind();
}

void CNoteManagerDlg::NewNote() {
    // No row is the editor's now: Update (and Enter) must not write the new note over one.
    m_list->clearSelection();
    m_freshEntry = true;
    Button(IdUpdate)->setEnabled(false);
    m_editor->NewEntry();
}

void CNoteManagerDlg::reject() {
    // The first Escape ends a find, the next one closes.
    if (!m_statusLine->ClearFind()) CloseManager();
}

void CNoteManagerDlg::ApplyFind() {
    QLineEdit* field = FindField();
    CNoteFind find(field->text().toStdString());
    // Typing on only ever narrows the list: the rows shown are all that need a look.
    const bool narrows = find.Narrows(m_list->Model()->Find());
    m_list->Model()->SetFind(std::move(find));
    if (narrows) {
        m_list->NarrowList();
        UpdateStatus();
    } else {
        RefreshList();
    }
    if (field->isVisible()) field->setFocus(); // typing goes on in the field
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
    return CManagerChrome::CloseBox(m_band);
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
    const Qt::Edge zone = CManagerFrameDrag::Zone(p, height(), kFrame, m_band);
    if (zone) m_drag.Press(*this, zone, e->globalPosition().toPoint());
}

void CNoteManagerDlg::mouseMoveEvent(QMouseEvent* e) {
    if (m_drag.Follow(*this, e->globalPosition().toPoint(), MinHeight())) return;
    const Qt::Edge zone =
        e->buttons() == Qt::NoButton
            ? CManagerFrameDrag::Zone(e->position().toPoint(), height(), kFrame, m_band)
            : Qt::Edge(0);
    if (zone)
        setCursor(CManagerFrameDrag::CursorFor(zone));
    else
        unsetCursor();
}

void CNoteManagerDlg::mouseReleaseEvent(QMouseEvent* e) {
    m_drag.Release();
    QDialog::mouseReleaseEvent(e);
}

void CNoteManagerDlg::paintEvent(QPaintEvent*) {
    if (m_closing) return;
    QPainter p(this);
    CManagerChrome::Paint(p, {rect(), m_band, Tool(ToolHelp)->geometry(), m_list->geometry(),
                              font(), TabCount(), m_tabIndex});
}

void CNoteManagerDlg::CloseManager() {
    if (m_closing) return;
    m_closing = true;
    // Squeezed onto a small screen but not resized, the height the user chose stays remembered.
    if (height() != m_openedHeight)
        m_tray.settings().m_managerExtraHeight = height() - m_initialHeight;
    m_clock->stop();
    m_statusLine->WithdrawDue(m_tray.Platform().notices); // the notes ring now instead
    m_model.Sort(CNoteSort::ByTime, true);                // the notes are left in time order
    QDialog::accept();
}
