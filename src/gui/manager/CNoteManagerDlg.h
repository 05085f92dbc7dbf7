#pragma once

#include "core/manager/CNoteFilter.h"
#include "core/manager/CNoteManagerModel.h"
#include "gui/manager/CManagerFrameDrag.h"
#include "gui/manager/CManagerLayout.h"
#include "gui/manager/CManagerToolbar.h"

#include <QDialog>
#include <QPolygon>
#include <functional>
#include <memory>

class CCalendarCtrl;
class CHoverButton;
class CManagerFileCommands;
class CManagerStatusLine;
class CNoteEditForm;
class CNoteList;
class CRegionButton;
class IManagerHost;
class CTypeTree;
class IDialogs;
class QLabel;
class QLineEdit;
class QTimer;

// The Note Manager: a self-framed modal window with the title band and its clock, the
// toolbar, the category tree, the note list with its filter tabs, the row of rounded buttons,
// the event editor, the calendar and the status line (where Ctrl+F opens a find field). What
// it does to the notes is CNoteManagerModel's; CManagerChrome paints the frame, CManagerToolbar
// makes the buttons and CManagerStatusLine keeps the status line; this class lays out and
// forwards.
class CNoteManagerDlg : public QDialog {
    Q_OBJECT
public:
    enum ButtonId { IdClose = 1, IdAdd = 217, IdDelete = 1010, IdPost = 1017, IdUpdate = 1021 };
    enum ToolId {
        ToolCompact = 1161,
        ToolFull = 1162,
        ToolCategory = 1163,
        ToolSave = 1158,
        ToolPrint = 1166,
        ToolCalendar = 1167,
        ToolOptions = 1159,
        ToolHomePage = 1165,
        ToolHelp = 1160
    };
    static constexpr int kFrame = CManagerLayout::kFrame;

    CNoteManagerDlg(IManagerHost& tray, IDialogs& dialogs, QWidget* parent = nullptr);
    ~CNoteManagerDlg() override;

    // Where Help and Home Page send their commands (the tray window's command ids).
    void SetCommandSink(std::function<void(int)> sink) { m_command = std::move(sink); }

    void AddNote();
    void UpdateNote();
    void DeleteNotes();
    void PostSelectedNotes(int x, int y);
    void ShowCompactView();
    void ShowFullView();
    void SetCategoryVisible(bool show);
    void SelectTab(int index);
    void ShowFind();
    // Empties the editor for a new note (Ctrl+N).
    void NewNote();
    void CloseManager();
    // The calendar-file tool's menu: "Export to Calendar File..." and "Import Calendar File...".
    void ShowCalendarMenu();
    // Reads a calendar file into the notes and shows what came in.
    void ImportCalendarFile();

    // Parts, for tests and the status line.
    CNoteList* List() const { return m_list; }
    CTypeTree* Tree() const { return m_tree; }
    CNoteEditForm* Editor() const { return m_editor; }
    CCalendarCtrl* Calendar() const { return m_calendar; }
    QLabel* CountLine() const { return m_count; }
    QLabel* StatusLine() const;
    QLineEdit* FindField() const;
    CRegionButton* Button(int id) const { return m_toolbar.Button(id); }
    CHoverButton* Tool(int id) const { return m_toolbar.Tool(id); }
    int TabCount() const;
    QPolygon TabShape(int index) const;
    int TabIndex() const { return m_tabIndex; }
    QRect CaptionBand() const { return m_band; }
    QRect CloseBox() const;
    int MinHeight() const;
    int DesignedHeight() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void reject() override;

private:
    void RunTool(int id);
    void ConnectButtons();
    void Relayout();
    void FitWindow();
    void RefreshList();
    void ShowNote(int row);
    void EnableNoteButtons(bool on);
    void UpdateStatus();
    void SelectAfterRemoval(int removedRow);
    void ApplyFind();
    void WatchDueNotes();
    void TakeCalendarDate();

    IManagerHost& m_tray;
    IDialogs& m_dialogs;
    CNoteManagerModel m_model;
    CTypeTree* m_tree = nullptr;
    CNoteList* m_list = nullptr;
    CNoteEditForm* m_editor = nullptr;
    CCalendarCtrl* m_calendar = nullptr;
    QLabel* m_count = nullptr;
    CManagerStatusLine* m_statusLine = nullptr;
    QTimer* m_clock = nullptr;
    CManagerToolbar m_toolbar;
    std::unique_ptr<CManagerFileCommands> m_files;
    std::unique_ptr<CManagerLayout> m_layout;
    int m_categoryFilter = 0;
    int m_tabIndex = 0;
    int m_timeFilter = CNoteFilter::AllNotes;
    int m_initialHeight = 0;
    int m_openedHeight = 0; // after the remembered height was applied (and fitted)
    bool m_ready = false;
    bool m_closing = false;
    bool m_layingOut = false;
    bool m_freshEntry = false; // the editor holds a new note (Ctrl+N), no row's

    QRect m_band;
    CManagerFrameDrag m_drag;
    std::function<void(int)> m_command;
};
