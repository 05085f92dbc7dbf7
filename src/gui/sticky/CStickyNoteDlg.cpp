#include "gui/sticky/CStickyNoteDlg.h"

#include "core/model/CNote.h"
#include "core/model/CSettings.h"
#include "core/platform/SystemMetrics.h"
#include "core/sticky/CNoteMenuModel.h"
#include "core/sticky/IStickyHost.h"
#include "core/sticky/NoteColors.h"
#include "core/sticky/NotePlacement.h"
#include "core/sticky/NoteSchemes.h"
#include "core/sticky/NoteTemplate.h"
#include "gui/platform/FontConverter.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/TopLevelWindows.h"
#include "gui/sticky/CNotePainter.h"
#include "gui/sticky/CRingingRow.h"
#include "gui/widgets/CHoverButton.h"
#include "gui/widgets/CPointerDrag.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QToolTip>
#include <QWindow>

namespace {
Qt::WindowFlags NoteWindowFlags(bool onTop) {
    Qt::WindowFlags f = Qt::Tool | Qt::FramelessWindowHint;
    if (onTop) f |= Qt::WindowStaysOnTopHint;
    return f;
}

// The dialog's own font ("MS Sans Serif" 8 in the template): 8 points at 96 dpi.
QFont DialogFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    return f;
}

QRect PixelRect(const NoteTemplate::DluRect& r) {
    return GdiPaint::ToQRect(r.ToPixels());
}
} // namespace

CStickyNoteDlg::CStickyNoteDlg(CNote& note, IStickyHost& tray, int placeX, int placeY,
                               bool keepPlace)
    : QWidget(nullptr, NoteWindowFlags(note.m_topMost != 0)), m_note(&note), m_hub(tray),
      m_placeX(placeX), m_placeY(placeY), m_keepPlace(keepPlace),
      m_timers([this](int id) { m_ring.OnTimer(id); }),
      m_ring(tray.AlarmHost(), note, *this, m_timers) {
    setObjectName(QStringLiteral("StickyNote"));
    // Every paint covers the whole window; there is no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    CreateControls();
    OnInitDialog();
}

CStickyNoteDlg::~CStickyNoteDlg() {
    if (m_note) m_note->WindowGone(this);
}

void CStickyNoteDlg::CreateControls() {
    const QFont dialogFont = DialogFont();
    setFont(dialogFont);

    m_textEdit = new QPlainTextEdit(this);
    m_textEdit->setObjectName(QStringLiteral("text"));
    m_textEdit->setFrameShape(QFrame::NoFrame);
    m_textEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textEdit->setReadOnly(true);
    m_textEdit->setGeometry(PixelRect(NoteTemplate::kTextEdit));
    // The menu key and Shift+F10 in the text open the note menu, not the editor's own.
    m_textEdit->installEventFilter(this);
    m_textEdit->viewport()->installEventFilter(this);
    connect(m_textEdit, &QPlainTextEdit::textChanged, this, [this] {
        // The note always holds what the user typed, so no way of closing loses it.
        if (m_settingText || !m_note) return;
        m_note->m_text = ToStoredText(m_textEdit->toPlainText().toStdString());
        m_hub.NoteChanged();
    });

    m_titleEdit = new CTitleEdit(this);
    m_titleEdit->setGeometry(PixelRect(NoteTemplate::kTitleEdit));
    connect(m_titleEdit, &CTitleEdit::finished, this, [this](bool keep, bool byKey) {
        m_input.EndTitleEdit(keep);
        if (byKey) m_textEdit->setFocus();
    });

    m_countdown = new CCountdownLine(this);
    m_countdown->setGeometry(PixelRect(NoteTemplate::kCountdown));

    m_row = new CRingingRow(this);
    connect(m_row, &CRingingRow::accepted, this, &CStickyNoteDlg::OnOK);
}

void CStickyNoteDlg::OnInitDialog() {
    CNote& note = *m_note;
    m_hFont = FontConverter::ToQFont(note.m_font);
    m_textEdit->setFont(m_hFont);
    m_titleEdit->setFont(m_hFont);

    m_geometry.m_border = CNoteGeometry::BorderFor(note.m_borderStyle);
    m_geometry.m_countdownHeight = PixelRect(NoteTemplate::kCountdown).height();
    SetTexts();
    m_row->SetDelay(m_ring.RemindHours(), m_ring.RemindMinutes());
    ApplyColors();

    const QRect screen = TopLevelWindows::ScreenRect();
    const QRect home = PixelRect(NoteTemplate::kWindow);
    m_homeRect = GdiPaint::FromQRect(QRect(screen.x() + (screen.width() - home.width()) / 2,
                                           screen.y() + (screen.height() - home.height()) / 2,
                                           home.width(), home.height()));
    setGeometry(GdiPaint::ToQRect(m_homeRect));
    const bool brandNew = !note.m_rectKnown;
    m_geometry.SetTitleTextHeight(QFontMetrics(m_hFont).height());
    if (!m_keepPlace) {
        RECT placed =
            PlaceNoteWindow(note, m_placeX, m_placeY, m_geometry.m_border, screen.width(),
                            screen.height(), GdiPaint::FromQRect(TopLevelWindows::DesktopRect()));
        // New notes made one after the other would all open in the middle fifth; a place
        // the user chose (a stored one, a drop point) is kept as it is.
        if (brandNew && m_placeX == -1) placed = m_sizing.FreePlace(placed);
        setGeometry(GdiPaint::ToQRect(placed));
    }

    if (brandNew) note.m_firstRect = note.m_windowRect = GetWindowRect();
    note.m_posted = 1;
    note.m_rectKnown = 1;

    UpdateCountdown();
    m_scheme = m_hub.SchemeOf(note);

    m_ready = true;
    Layout();
    update();
    show();
    if (brandNew && !m_keepPlace) {
        // A note the user just made: ready for typing.
        activateWindow();
        m_textEdit->setFocus();
    }
}

void CStickyNoteDlg::SetTexts() {
    m_settingText = true;
    m_textEdit->setPlainText(QString::fromStdString(ToDisplayText(m_note->m_text)));
    m_titleEdit->setText(QString::fromStdString(m_note->m_title));
    m_settingText = false;
    setWindowTitle(QString::fromStdString(m_note->m_title));
}

void CStickyNoteDlg::ApplyColors() {
    if (!m_note) return;
    const COLORREF back = m_note->m_backColor, text = m_note->m_textColor;
    GdiPaint::SetWidgetColors(m_textEdit, GdiPaint::ToQColor(back), GdiPaint::ToQColor(text));
    GdiPaint::SetWidgetColors(m_titleEdit, GdiPaint::ToQColor(TitleColorFor(back)),
                              GdiPaint::ToQColor(text));
    GdiPaint::SetWidgetColors(m_countdown, GdiPaint::ToQColor(back), GdiPaint::ToQColor(text));
    m_row->SetColors(back, text, GlyphColorFor(back));
}

COLORREF CStickyNoteDlg::TitleColor() const {
    return m_note ? TitleColorFor(m_note->m_backColor) : 0;
}

// ---------------------------------------------------------------- INoteWindow

void CStickyNoteDlg::StartAlarm(int index, bool wasPosted) {
    if (!m_note || m_closing) return;
    m_ring.StartAlarm(index, wasPosted);
}

void CStickyNoteDlg::EnterRingingMode() {
    m_input.EndTitleEdit(true);
    m_silentRing = !m_hub.CanSound();
    m_countdown->hide();
    m_row->Begin();
    // Inside the frame, whichever border style the note has.
    m_row->FitInto(m_homeRect.Width() - m_geometry.m_border);
    m_sizing.UpdateSizeLimits();
    // Notes that ring together would all sit in the middle of the screen.
    m_sizing.SetRect(m_sizing.FreePlace(m_homeRect));
    TopLevelWindows::SetStaysOnTop(*this, true);
    show();
    raise();
    activateWindow();
    Layout();
    m_textEdit->setEnabled(true);
    update();
}

void CStickyNoteDlg::DrawPinBox(int) {
    // While ringing only the flashing draws the pin box, in the picture the ringing reports
    // (PinShown): repaint it alone, or the whole band when that flashes too.
    const int t = m_geometry.m_titleHeight;
    update(0, 0, m_silentRing ? width() : t, t);
}

void CStickyNoteDlg::FocusField(Field field) {
    if (field == HoursField)
        m_row->FocusHours();
    else
        m_row->FocusMinutes();
}

void CStickyNoteDlg::OnOK() {
    if (!m_note || !m_ring.IsRinging()) return;
    // A closing acknowledgement tears this window down: nothing may follow the call.
    m_ring.OnOK(m_row->HoursText(), m_row->MinutesText(), m_row->RemindChecked());
}

void CStickyNoteDlg::LeaveRingingMode() {
    m_row->End();
    m_sizing.UpdateSizeLimits();
    m_sizing.SetRect(m_note->m_windowRect);
    TopLevelWindows::SetStaysOnTop(*this, m_note->m_topMost != 0);
    show();
    Layout(); // brings the countdown line back when it is on
    update();
}

void CStickyNoteDlg::CloseAfterRinging() {
    // An acknowledged one-time reminder leaves the store right after: let go of it first.
    if (m_note) m_note->WindowGone(this);
    m_note = nullptr;
    Teardown();
}

bool CStickyNoteDlg::IsRingTimerActive(int id) const {
    return m_timers.IsActive(id);
}

RECT CStickyNoteDlg::GetWindowRect() const {
    // During the close animation the window's real place is where it started.
    if (m_closing && m_shrink.HasStarted()) return m_shrink.StartRect();
    if (m_closing && m_deleteShrink.HasStarted()) return m_deleteShrink.StartRect();
    return GdiPaint::FromQRect(geometry());
}

void CStickyNoteDlg::SetReadOnly(bool readOnly) {
    m_textEdit->setReadOnly(readOnly);
    m_input.EndTitleEdit(true);
    m_titleEdit->hide();
}

void CStickyNoteDlg::BringToTop() {
    if (!m_note || m_closing) return;
    show();
    raise();
}

void CStickyNoteDlg::MoveTo(int left, int top) {
    if (!m_note || m_closing) return;
    move(left, top);
    if (IsRolledUp()) Unroll();
    showNormal();
    raise();
}

void CStickyNoteDlg::UpdateCountdown() {
    if (m_note) m_countdown->Update(*m_note);
}

void CStickyNoteDlg::Destroy() {
    if (m_closing && (m_shrink.IsRunning() || m_deleteShrink.IsRunning())) m_hub.StopCloseSound();
    Teardown();
}

// ---------------------------------------------------------------- layout and geometry

void CStickyNoteDlg::ReloadTexts() {
    if (!m_note) return;
    SetTexts();
    Layout();
    update();
}

void CStickyNoteDlg::Layout() {
    m_sizing.Layout();
}

void CStickyNoteDlg::RollUp() {
    m_sizing.RollUp();
}

void CStickyNoteDlg::Unroll() {
    m_sizing.Unroll();
}

void CStickyNoteDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_sizing.Resized(event->size());
}

void CStickyNoteDlg::ApplyScheme(int i) {
    if (!Active() || i == m_scheme) return;
    m_scheme = i;
    m_hub.Settings().ApplyScheme(*m_note, i);
    RefreshLook();
}

void CStickyNoteDlg::RefreshLook() {
    if (!Active()) return;
    m_hFont = FontConverter::ToQFont(m_note->m_font);
    m_textEdit->setFont(m_hFont);
    m_titleEdit->setFont(m_hFont);
    m_geometry.m_border = CNoteGeometry::BorderFor(m_note->m_borderStyle);
    ApplyColors();
    Layout();
    if (!IsRinging()) m_sizing.ApplySizeRules();
    update();
    m_hub.NoteChanged();
}

void CStickyNoteDlg::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (Active() && !IsRinging() && m_note->m_posted) m_sizing.StoreWindowRect();
}

// ---------------------------------------------------------------- painting

void CStickyNoteDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_closing) {
        (m_deleteShrink.HasStarted() ? m_deleteShrink : m_shrink).Paint(p);
        return;
    }
    if (!m_ready || !m_note) return;
    CNotePainter::Look look;
    look.back = m_note->m_backColor;
    look.text = m_note->m_textColor;
    look.borderStyle = m_note->m_borderStyle;
    look.title = QString::fromStdString(m_note->m_title);
    look.font = m_hFont;
    look.system = CNotePainter::Colors3d::FromPalette();
    if (IsRinging()) {
        look.pinState = m_ring.PinShown();
        look.flashTitle = m_silentRing && look.pinState == 1;
        look.ruleY = NoteTemplate::kRemindCheck.ToPixels().top - 2;
        OkButton()->SetBackColor(look.back);
    } else {
        look.pinState = m_note->m_topMost ? 1 : 0;
    }
    CNotePainter::Paint(p, m_geometry, size(), look);
}

// ---------------------------------------------------------------- mouse and keyboard

bool CStickyNoteDlg::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        m_input.ShowToolTip(event);
        return true;
    }
    return QWidget::event(event);
}

void CStickyNoteDlg::mousePressEvent(QMouseEvent* event) {
    m_input.Press(event);
}

void CStickyNoteDlg::mouseMoveEvent(QMouseEvent* event) {
    m_input.Move(event);
}

void CStickyNoteDlg::mouseReleaseEvent(QMouseEvent*) {
    m_input.Release();
}

void CStickyNoteDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    m_input.DoubleClick(event);
}

void CStickyNoteDlg::contextMenuEvent(QContextMenuEvent* event) {
    m_input.ContextMenu(event);
}

bool CStickyNoteDlg::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_textEdit || watched == m_textEdit->viewport()) &&
        m_input.FilterTextEvent(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void CStickyNoteDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        OnCancel();
        return;
    }
    if (!m_input.Key(event)) QWidget::keyPressEvent(event);
}

void CStickyNoteDlg::closeEvent(QCloseEvent* event) {
    // The window manager's close request (its close key) arrives spontaneously: the dialog's
    // Cancel. Closes from within the program come from ending it, which closes every window
    // first and gives up if one refuses; the shutdown save then stores the notes as posted.
    if (!event->spontaneous() || !Active()) {
        event->accept();
        return;
    }
    event->ignore();
    OnCancel();
}

// ---------------------------------------------------------------- closing

void CStickyNoteDlg::OnCancel() {
    if (!m_note || m_closing) return;
    m_note->m_posted = 0;
    m_hub.NoteChanged();
    if (!IsRinging()) CloseQuietly(true);
}

void CStickyNoteDlg::CloseByCloseBox() {
    m_sizing.StoreWindowRect();
    m_input.EndTitleEdit(true);
    const QPixmap picture = grab(); // while it still paints itself
    m_closing = true;
    m_hub.PlayCloseSound();
    m_shrink.Start(picture);
}

void CStickyNoteDlg::OnShrunk() {
    // Stopping the click must not silence an alarm that rings in another note.
    m_hub.StopCloseSound();
    if (!m_note) return;
    m_note->m_posted = 0;
    m_hub.NoteChanged();
    const bool memo = m_note->m_type == CNote::Memo;
    Teardown();
    // A new user would believe the memo lost: it can only come back through the manager.
    if (memo) m_hub.HintClosedMemo();
}

void CStickyNoteDlg::DeleteNote() {
    if (!Active() || IsRinging()) return;
    m_input.EndTitleEdit(true);
    const QPixmap picture = grab(); // while it still paints itself
    m_closing = true;
    m_hub.PlayDeleteSound();
    m_deleteShrink.Start(picture);
}

void CStickyNoteDlg::OnDeleteShrunk() {
    // The click stops, a note ringing elsewhere goes on ringing.
    m_hub.StopCloseSound();
    CNote* note = m_note;
    Teardown();
    if (note) m_hub.DeleteNote(*note);
}

void CStickyNoteDlg::CloseQuietly(bool storeRect) {
    if (IsRinging() || !m_note) return;
    if (storeRect) m_sizing.StoreWindowRect();
    m_input.EndTitleEdit(true);
    Teardown();
}

void CStickyNoteDlg::Teardown() {
    if (m_note && m_titleEdit->isVisible() && !m_closing) m_input.EndTitleEdit(true);
    // Destroyed while ringing (the program ends): give up the ringing and its sound.
    if (m_ring.IsRinging()) m_ring.Abandon();
    m_shrink.Stop();
    m_deleteShrink.Stop();
    m_closing = true;
    m_ready = false;
    if (m_note) m_note->WindowGone(this);
    m_note = nullptr;
    hide();
    deleteLater();
}
