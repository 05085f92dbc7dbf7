#pragma once

#include "platform/INoteWindow.h"
#include "sticky/CNoteGeometry.h"

#include <QFont>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class CHoverButton;
class CNote;
class CTrayCore;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// A posted note on the desktop: a frameless, self-painted tool window with a coloured title
// bar (pin box, title, close glyph), the note's text and a slot for the countdown line. It
// points to its note and to the tray core, and never owns the note. It deletes itself after
// it is destroyed.
class CStickyNoteDlg : public QWidget, public INoteWindow {
    Q_OBJECT
public:
    // placeX = -1: no placement point. keepPlace: the window opens only to ring and stays at
    // its centred home rectangle.
    CStickyNoteDlg(CNote& note, CTrayCore& tray, int placeX, int placeY, bool keepPlace);
    ~CStickyNoteDlg() override;

    // INoteWindow
    bool IsRinging() const override { return m_ringing; }
    bool IsBusy() const override { return m_busy || m_closing; }
    void StartAlarm(int index, bool wasPosted) override;
    RECT GetWindowRect() const override;
    std::string GetTitleText() const override;
    std::string GetBodyText() const override;
    void SetReadOnly(bool readOnly) override;
    void BringToTop() override;
    void UpdateCountdown() override;
    void Destroy() override;

    // Copies the note's title and text into the editors, lays out and redraws.
    void ReloadTexts();
    void Layout();
    void RollUp();
    void Unroll();
    bool IsRolledUp() const { return height() <= m_geometry.RolledHeight(); }
    // Draws the pin box: state 1 on top (small square in front), 0 not on top.
    void DrawPinBox(int state, QPainter& p) const;

    CNote* Note() const { return m_note; }
    CTrayCore* Tray() const { return m_tray; }
    const CNoteGeometry& Geometry() const { return m_geometry; }
    int SchemeIndex() const { return m_scheme; }
    COLORREF TitleColor() const { return m_titleColor; }
    COLORREF GlyphColor() const { return m_glyphColor; }
    const RECT& HomeRect() const { return m_homeRect; }
    bool IsReady() const { return m_ready; }
    bool IsClosing() const { return m_closing; }
    QFont NoteFont() const { return m_hFont; }

    QPlainTextEdit* TextEdit() const { return m_textEdit; }
    QLineEdit* TitleEdit() const { return m_titleEdit; }
    QLabel* CountdownLine() const { return m_countdown; }
    QCheckBox* RemindCheck() const { return m_remindCheck; }
    QLineEdit* HoursEdit() const { return m_hoursEdit; }
    QLineEdit* MinutesEdit() const { return m_minutesEdit; }
    CHoverButton* OkButton() const { return m_okButton; }

    // Sizing border width: the frame metric plus one.
    static int SizingBorder();

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

private:
    enum class Drag { None, PendingMove, Moving, Sizing };

    void CreateControls();
    void OnInitDialog();
    void ApplyColors();
    void UpdateSizeLimits();
    void ApplyTopMost(bool onTop);
    void SetTexts();

    bool Active() const { return m_ready && !m_closing && m_note; }
    NoteHit HitAt(const QPoint& pos) const;
    void UpdateCursor(const QPoint& pos);
    void BeginSizing(NoteHit hit, const QPoint& globalPos);
    void ApplyUserSizing(const RECT& proposed);
    void SetRect(const RECT& r);
    void StoreWindowRect();

    void OnLButtonDown(const QPoint& pos, Qt::KeyboardModifiers modifiers);
    void TogglePin();
    void ArrangeOthers(bool shift, bool alt, bool ctrl);
    void BeginTitleEdit();
    void EndTitleEdit(bool keep);

    void OnCancel();
    void CloseByCloseBox();
    void OnCloseStep();
    void CloseQuietly(bool storeRect);
    void Teardown();

    void DrawGlow(QPainter& p, const QRect& r, COLORREF c) const;

    CNote* m_note;
    CTrayCore* m_tray;
    int m_placeX, m_placeY;
    bool m_keepPlace;
    int m_remindHours = 0;
    int m_remindMinutes = 15;
    bool m_ready = false;
    bool m_ringing = false;
    bool m_busy = false;
    bool m_closing = false;
    bool m_wasPosted = false;
    int m_scheme = -1;
    COLORREF m_titleColor = 0;
    COLORREF m_glyphColor = 0;
    RECT m_homeRect;
    QFont m_hFont;
    CNoteGeometry m_geometry;
    int m_ringSeconds = 0, m_stopEnabled = 0, m_flashState = 0;

    QPlainTextEdit* m_textEdit = nullptr;
    QLineEdit* m_titleEdit = nullptr;
    QLabel* m_countdown = nullptr;
    QCheckBox* m_remindCheck = nullptr;
    QLineEdit* m_hoursEdit = nullptr;
    QLineEdit* m_minutesEdit = nullptr;
    QLabel* m_hoursLabel = nullptr;
    QLabel* m_minutesLabel = nullptr;
    CHoverButton* m_okButton = nullptr;

    bool m_settingText = false;
    bool m_endingTitleEdit = false;
    QSize m_requestedSize; // a size this window asked for itself, not the user

    Drag m_drag = Drag::None;
    Qt::Edges m_sizingEdges;
    QPoint m_dragStartGlobal;
    QRect m_dragStartRect;

    QTimer m_closeTimer;
    int m_closeStep = 0;
    RECT m_closeStart;
    QPixmap m_closeSnapshot;
};
