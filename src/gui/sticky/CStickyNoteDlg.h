#pragma once

#include "core/alarms/CAlarmRinging.h"
#include "core/alarms/IRingingWindow.h"
#include "core/platform/INoteWindow.h"
#include "core/sticky/CNoteGeometry.h"
#include "gui/platform/CWindowTimers.h"
#include "gui/sticky/CCountdownLine.h"
#include "gui/sticky/CRingingRow.h"
#include "gui/sticky/CShrinkAnimation.h"
#include "gui/sticky/CStickyHub.h"
#include "gui/sticky/CStickyNoteInput.h"
#include "gui/sticky/CStickyNoteSizing.h"
#include "gui/sticky/CTitleEdit.h"
#include "gui/sticky/INoteMenuHost.h"

#include <QFont>
#include <QWidget>

class CNote;
class IStickyHost;
class QPlainTextEdit;

// A posted note on the desktop: a frameless tool window with a self-drawn title bar (pin box,
// title, close glyph), the note's text and a slot for the countdown line. It handles input,
// moving, sizing and rolling up; CNotePainter draws it and CRingingRow is its "remind" row.
// CStickyNoteSizing settles its size and place, CStickyNoteInput what the pointer does on it.
// It points to its note and never owns it; it deletes itself after it is destroyed. Whether
// the note rings is its CAlarmRinging's to say, driven through IRingingWindow and the
// window's timers 0 and 1.
class CStickyNoteDlg : public QWidget,
                       public INoteWindow,
                       public IRingingWindow,
                       public INoteMenuHost {
    Q_OBJECT
public:
    // placeX = -1: no placement point. keepPlace: the window opens only to ring and stays at
    // its centred home rectangle.
    CStickyNoteDlg(CNote& note, IStickyHost& tray, int placeX, int placeY, bool keepPlace);
    ~CStickyNoteDlg() override;

    // INoteWindow
    bool IsRinging() const override { return m_ring.IsRinging(); }
    bool PostedBeforeRinging() const override { return m_ring.WasPosted(); }
    bool IsBusy() const override { return m_busy || m_closing; }
    void StartAlarm(int index, bool wasPosted) override;
    RECT GetWindowRect() const override;
    void SetReadOnly(bool readOnly) override;
    void BringToTop() override;
    void UpdateCountdown() override;
    // Copies the note's title and text into the editors, lays out and redraws.
    void ReloadTexts() override;
    void MoveTo(int left, int top) override;
    void Destroy() override;

    // IRingingWindow
    void EnterRingingMode() override;
    void DrawPinBox(int state) override;
    void FocusField(Field field) override;
    void LeaveRingingMode() override;
    void CloseAfterRinging() override;
    void PressOk() override { OnOK(); }
    // The OK button of the ringing row: acknowledges with what the row holds.
    void OnOK();

    void Layout() override;
    void RollUp() override;
    void Unroll();
    bool IsRolledUp() const override { return m_geometry.IsRolledUp(height()); }

    // INoteMenuHost
    QWidget& MenuWindow() override { return *this; }
    CNote* Note() const override { return m_note; }
    void SetBusy(bool busy) override { m_busy = busy; }
    void ApplyScheme(int i) override;
    void ForgetScheme() override { m_scheme = -1; }
    void RefreshLook() override;
    void DeleteNote() override;
    const CSettings& Settings() const override { return m_hub.Settings(); }
    IDialogs& Dialogs() const override { return m_hub.Dialogs(); }
    bool ManagerOpen() const override { return m_hub.ManagerOpen(); }
    void NoteChanged() override { m_hub.NoteChanged(); }
    void TimeChanged(const CNote& note) override { m_hub.TimeChanged(note); }

    const CNoteGeometry& Geometry() const { return m_geometry; }
    int SchemeIndex() const { return m_scheme; }
    COLORREF TitleColor() const;

    QPlainTextEdit* TextEdit() const { return m_textEdit; }
    QLineEdit* TitleEdit() const { return m_titleEdit; }
    QLabel* CountdownLine() const { return m_countdown; }
    QCheckBox* RemindCheck() const { return m_row->RemindCheck(); }
    QLineEdit* HoursEdit() const { return m_row->HoursEdit(); }
    QLineEdit* MinutesEdit() const { return m_row->MinutesEdit(); }
    CHoverButton* OkButton() const { return m_row->OkButton(); }
    // The pin-box picture of the last flash while ringing; -1 before the first.
    int PinFlashState() const { return m_ring.PinShown(); }
    // What the tip says over a point of the window: the pin box, the close box and the title
    // band explain themselves; empty elsewhere.
    QString ToolTipAt(const QPoint& pos) const { return m_input.ToolTipAt(pos); }
    bool IsRingTimerActive(int id) const;

signals:
    // A right click on the pin box, or the keyboard's menu key: where the note menu belongs.
    void noteMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class CStickyNoteInput;
    friend class CStickyNoteSizing;

    void CreateControls();
    void OnInitDialog();
    void ApplyColors();
    void SetTexts();

    bool Active() const { return m_ready && !m_closing && m_note; }

    void OnCancel();
    void CloseByCloseBox();
    void OnShrunk();
    void OnDeleteShrunk();
    void CloseQuietly(bool storeRect);
    void Teardown();

    CNote* m_note;
    CStickyHub m_hub;
    int m_placeX, m_placeY;
    bool m_keepPlace;
    bool m_ready = false;
    bool m_busy = false;
    bool m_closing = false;
    bool m_silentRing = false; // ringing without a sound device: the title band flashes
    int m_scheme = -1;
    RECT m_homeRect;
    QFont m_hFont;
    CNoteGeometry m_geometry;
    CWindowTimers m_timers; // the ringing's timers 0 and 1
    CAlarmRinging m_ring;

    QPlainTextEdit* m_textEdit = nullptr;
    CTitleEdit* m_titleEdit = nullptr;
    CCountdownLine* m_countdown = nullptr;
    CRingingRow* m_row = nullptr;

    bool m_settingText = false;
    CStickyNoteSizing m_sizing{*this};
    CStickyNoteInput m_input{*this};
    CShrinkAnimation m_shrink{*this, [this] { OnShrunk(); }};
    CShrinkAnimation m_deleteShrink{*this, [this] { OnDeleteShrunk(); }, CShrinkAnimation::Delete};
};
