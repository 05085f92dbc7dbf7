#include "sticky/CStickyNoteDlg.h"

#include "app/CTrayCore.h"
#include "app/Globals.h"
#include "manager/CHoverButton.h"
#include "model/CNote.h"
#include "platform/Clock.h"
#include "platform/FontConverter.h"
#include "platform/GdiPaint.h"
#include "platform/ISound.h"
#include "platform/SystemColors.h"
#include "platform/SystemMetrics.h"
#include "sticky/CCountdown.h"
#include "sticky/NoteColors.h"
#include "sticky/NotePlacement.h"
#include "sticky/NoteSchemes.h"
#include "sticky/NoteTemplate.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QWindow>

namespace {
constexpr int kCloseSound = 242;

constexpr int kCloseStepMs = 15;

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

QRect ScreenRect() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

QRect DesktopRect() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->virtualGeometry() : QRect(0, 0, 1024, 768);
}

QRect PixelRect(const NoteTemplate::DluRect& r) {
    return GdiPaint::ToQRect(r.ToPixels());
}

Qt::Edges EdgesOf(NoteHit hit) {
    switch (hit) {
    case NoteHit::Left:
        return Qt::LeftEdge;
    case NoteHit::Right:
        return Qt::RightEdge;
    case NoteHit::Top:
        return Qt::TopEdge;
    case NoteHit::Bottom:
        return Qt::BottomEdge;
    case NoteHit::TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case NoteHit::TopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case NoteHit::BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case NoteHit::BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    default:
        return {};
    }
}
} // namespace

int CStickyNoteDlg::SizingBorder() {
    return SystemMetrics::SM_CXFRAME + 1;
}

CStickyNoteDlg::CStickyNoteDlg(CNote& note, CTrayCore& tray, int placeX, int placeY, bool keepPlace)
    : QWidget(nullptr, NoteWindowFlags(note.m_topMost != 0)), m_note(&note), m_tray(&tray),
      m_placeX(placeX), m_placeY(placeY), m_keepPlace(keepPlace), m_ring(tray, note, *this, *this) {
    note.m_window = this;
    setObjectName(QStringLiteral("StickyNote"));
    // Every paint covers the whole window; there is no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    m_closeTimer.setInterval(kCloseStepMs);
    connect(&m_closeTimer, &QTimer::timeout, this, &CStickyNoteDlg::OnCloseStep);
    connect(&m_beepTimer, &QTimer::timeout, this,
            [this] { m_ring.OnTimer(CAlarmRinging::TimerBeep); });
    connect(&m_flashTimer, &QTimer::timeout, this,
            [this] { m_ring.OnTimer(CAlarmRinging::TimerFlash); });
    CreateControls();
    OnInitDialog();
}

CStickyNoteDlg::~CStickyNoteDlg() {
    if (m_note && m_note->m_window == this) m_note->m_window = nullptr;
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
    connect(m_textEdit, &QPlainTextEdit::textChanged, this, [this] {
        // The note always holds what the user typed, so no way of closing loses it.
        if (!m_settingText && m_note)
            m_note->m_text = ToStoredText(m_textEdit->toPlainText().toStdString());
    });

    m_titleEdit = new QLineEdit(this);
    m_titleEdit->setObjectName(QStringLiteral("title"));
    m_titleEdit->setFrame(false);
    m_titleEdit->setGeometry(PixelRect(NoteTemplate::kTitleEdit));
    m_titleEdit->hide();
    m_titleEdit->installEventFilter(this);

    m_countdown = new QLabel(this);
    m_countdown->setObjectName(QStringLiteral("countdown"));
    m_countdown->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_countdown->setAutoFillBackground(true);
    m_countdown->setGeometry(PixelRect(NoteTemplate::kCountdown));
    m_countdown->hide();

    // The row shown only while the note rings.
    m_remindCheck = new QCheckBox(QStringLiteral("Remind me again after"), this);
    m_remindCheck->setGeometry(PixelRect(NoteTemplate::kRemindCheck));
    m_remindCheck->setToolTip(QStringLiteral("Remind me later"));
    auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    m_hoursEdit = new QLineEdit(QString::number(m_remindHours), this);
    m_hoursEdit->setGeometry(PixelRect(NoteTemplate::kHoursEdit));
    m_hoursEdit->setValidator(digits);
    m_hoursEdit->setToolTip(QStringLiteral("Input delay hours"));
    m_hoursEdit->installEventFilter(this);
    m_minutesEdit = new QLineEdit(QString::number(m_remindMinutes), this);
    m_minutesEdit->setGeometry(PixelRect(NoteTemplate::kMinutesEdit));
    m_minutesEdit->setValidator(digits);
    m_minutesEdit->setToolTip(QStringLiteral("Input delay minutes"));
    m_minutesEdit->installEventFilter(this);
    m_hoursLabel = new QLabel(QStringLiteral("hours"), this);
    m_hoursLabel->setGeometry(PixelRect(NoteTemplate::kHoursLabel));
    m_minutesLabel = new QLabel(QStringLiteral("minutes"), this);
    m_minutesLabel->setGeometry(PixelRect(NoteTemplate::kMinutesLabel));
    m_okButton = new CHoverButton(this);
    m_okButton->setGeometry(PixelRect(NoteTemplate::kOkButton));
    m_okButton->setToolTip(QStringLiteral("Close dialog"));
    connect(m_okButton, &QPushButton::clicked, this, &CStickyNoteDlg::OnOK);
    // Return in either delay field is the dialog's OK, as with a default button.
    connect(m_hoursEdit, &QLineEdit::returnPressed, this, &CStickyNoteDlg::OnOK);
    connect(m_minutesEdit, &QLineEdit::returnPressed, this, &CStickyNoteDlg::OnOK);
    // Typing a delay means "remind me later", even where the focus came without a click.
    for (QLineEdit* e : {m_hoursEdit, m_minutesEdit})
        connect(e, &QLineEdit::textEdited, this, [this] { m_remindCheck->setChecked(true); });

    // The row was laid out for a narrower dialog font: a point smaller, with a tighter gap
    // after the check mark, "Remind me again after" and "minutes" fit their places, and
    // the two-digit fields show both digits inside a thin frame.
    QFont rowFont = dialogFont;
    rowFont.setPixelSize(dialogFont.pixelSize() - 1);
    for (QWidget* w : std::initializer_list<QWidget*>{m_remindCheck, m_hoursEdit, m_minutesEdit,
                                                      m_hoursLabel, m_minutesLabel})
        w->setFont(rowFont);
    m_remindCheck->setStyleSheet(QStringLiteral("QCheckBox { spacing: 3px; }"));
    for (QLineEdit* e : {m_hoursEdit, m_minutesEdit}) {
        e->setAlignment(Qt::AlignCenter);
        e->setTextMargins(-2, 0, -2, 0); // the edit's own inner margin would hide a digit
    }
}

void CStickyNoteDlg::OnInitDialog() {
    CNote& note = *m_note;
    m_hFont = FontConverter::ToQFont(note.m_font);
    m_textEdit->setFont(m_hFont);
    m_titleEdit->setFont(m_hFont);

    m_geometry.m_border = CNoteGeometry::BorderFor(note.m_borderStyle);
    m_geometry.m_countdownHeight = PixelRect(NoteTemplate::kCountdown).height();
    m_ringing = false;
    SetTexts();

    m_remindHours = 0;
    m_remindMinutes = 15;
    m_hoursEdit->setText(QString::number(m_remindHours));
    m_minutesEdit->setText(QString::number(m_remindMinutes));
    m_okButton->SetFlags(CHoverButton::TextButton | CHoverButton::AlwaysFramed |
                         CHoverButton::TextShadow);
    m_okButton->SetCaption(QStringLiteral("OK"), note.m_textColor, 0);
    ApplyColors();

    const QRect screen = ScreenRect();
    const QRect home = PixelRect(NoteTemplate::kWindow);
    m_homeRect = GdiPaint::FromQRect(QRect(screen.x() + (screen.width() - home.width()) / 2,
                                           screen.y() + (screen.height() - home.height()) / 2,
                                           home.width(), home.height()));
    setGeometry(GdiPaint::ToQRect(m_homeRect));
    if (!m_keepPlace) {
        RECT placed = PlaceNoteWindow(note, m_placeX, m_placeY, m_geometry.m_border, screen.width(),
                                      screen.height(), GdiPaint::FromQRect(DesktopRect()));
        setGeometry(GdiPaint::ToQRect(placed));
    }

    for (QWidget* w : std::initializer_list<QWidget*>{m_remindCheck, m_okButton, m_hoursEdit,
                                                      m_minutesEdit, m_hoursLabel, m_minutesLabel})
        w->hide();

    const bool brandNew = !note.m_rectKnown;
    if (brandNew) note.m_firstRect = note.m_windowRect = GetWindowRect();
    note.m_posted = 1;
    note.m_rectKnown = 1;

    UpdateCountdown();
    m_scheme = FindScheme(note, m_tray->settings().m_schemeBack, m_tray->settings().m_schemeText,
                          m_tray->settings().m_schemeFont);

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
    const QColor back = GdiPaint::ToQColor(m_note->m_backColor);
    const QColor text = GdiPaint::ToQColor(m_note->m_textColor);
    m_titleColor = TitleColorFor(m_note->m_backColor);
    m_glyphColor = GlyphColorFor(m_note->m_backColor);
    const QColor title = GdiPaint::ToQColor(m_titleColor);

    auto paint = [&](QWidget* w, const QColor& background) {
        QPalette pal = w->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(group, QPalette::Base, background);
            pal.setColor(group, QPalette::Window, background);
            pal.setColor(group, QPalette::Text, text);
            pal.setColor(group, QPalette::WindowText, text);
            pal.setColor(group, QPalette::ButtonText, text);
        }
        w->setPalette(pal);
    };
    paint(m_textEdit, back);
    paint(m_titleEdit, title);
    for (QWidget* w : std::initializer_list<QWidget*>{m_countdown, m_remindCheck, m_hoursEdit,
                                                      m_minutesEdit, m_hoursLabel, m_minutesLabel})
        paint(w, back);
    m_okButton->SetTextColor(m_note->m_textColor);
    m_okButton->SetBackColor(m_note->m_backColor);
    // A one-pixel frame in the glyph colour, like the rule above the row.
    // (A style sheet replaces the palette, so the colours are given again.)
    const QString frame =
        QStringLiteral("QLineEdit { border: 1px solid %1; padding: 0px; background: %2; "
                       "color: %3; }")
            .arg(GdiPaint::ToQColor(m_glyphColor).name(), back.name(), text.name());
    for (QLineEdit* e : {m_hoursEdit, m_minutesEdit})
        if (e->styleSheet() != frame) e->setStyleSheet(frame);
}

// ---------------------------------------------------------------- INoteWindow

void CStickyNoteDlg::StartAlarm(int index, bool wasPosted) {
    if (!m_note || m_closing) return;
    m_ring.StartAlarm(index, wasPosted);
}

void CStickyNoteDlg::EnterRingingMode() {
    EndTitleEdit(true);
    m_ringing = true;
    m_pinFlash = -1;
    m_countdown->hide();
    m_remindCheck->setChecked(false);
    for (QWidget* w : std::initializer_list<QWidget*>{m_remindCheck, m_okButton, m_hoursEdit,
                                                      m_minutesEdit, m_hoursLabel, m_minutesLabel})
        w->show();
    m_okButton->setEnabled(true);
    UpdateSizeLimits();
    SetRect(m_homeRect);
    ApplyTopMost(true);
    show();
    raise();
    activateWindow();
    Layout();
    m_textEdit->setEnabled(true);
    update();
}

void CStickyNoteDlg::DrawPinBox(int state) {
    // While ringing the pin box is drawn only by the flashing: repaint it alone.
    m_pinFlash = state;
    const int t = m_geometry.m_titleHeight;
    update(0, 0, t, t);
}

void CStickyNoteDlg::FocusField(Field field) {
    QLineEdit* edit = field == HoursField ? m_hoursEdit : m_minutesEdit;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void CStickyNoteDlg::OnOK() {
    if (!m_note || !m_ring.IsRinging()) return;
    // A closing acknowledgement tears this window down: nothing may follow the call.
    m_ring.OnOK(m_hoursEdit->text().toStdString(), m_minutesEdit->text().toStdString(),
                m_remindCheck->isChecked());
}

void CStickyNoteDlg::LeaveRingingMode() {
    m_ringing = false;
    m_pinFlash = -1;
    for (QWidget* w : std::initializer_list<QWidget*>{m_remindCheck, m_okButton, m_hoursEdit,
                                                      m_minutesEdit, m_hoursLabel, m_minutesLabel})
        w->hide();
    m_okButton->setEnabled(false);
    UpdateSizeLimits();
    SetRect(m_note->m_windowRect);
    ApplyTopMost(m_note->m_topMost != 0);
    show();
    Layout(); // brings the countdown line back when it is on
    update();
}

void CStickyNoteDlg::CloseAfterRinging() {
    // The note may be gone already (an acknowledged one-time reminder): forget it first.
    m_ringing = false;
    m_note = nullptr;
    Teardown();
}

QTimer* CStickyNoteDlg::RingTimer(int id) {
    return id == CAlarmRinging::TimerBeep ? &m_beepTimer : &m_flashTimer;
}

void CStickyNoteDlg::SetTimer(int id, int periodMs) {
    RingTimer(id)->start(periodMs);
}

void CStickyNoteDlg::KillTimer(int id) {
    RingTimer(id)->stop();
}

bool CStickyNoteDlg::IsRingTimerActive(int id) const {
    return (id == CAlarmRinging::TimerBeep ? m_beepTimer : m_flashTimer).isActive();
}

RECT CStickyNoteDlg::GetWindowRect() const {
    // During the close animation the window's real place is where it started.
    if (m_closing && m_closeStep > 0) return m_closeStart;
    return GdiPaint::FromQRect(geometry());
}

std::string CStickyNoteDlg::GetTitleText() const {
    return m_titleEdit->text().toStdString();
}

std::string CStickyNoteDlg::GetBodyText() const {
    return ToStoredText(m_textEdit->toPlainText().toStdString());
}

void CStickyNoteDlg::SetReadOnly(bool readOnly) {
    m_textEdit->setReadOnly(readOnly);
    EndTitleEdit(true);
    m_titleEdit->hide();
}

void CStickyNoteDlg::BringToTop() {
    if (!m_note || m_closing) return;
    show();
    raise();
}

void CStickyNoteDlg::UpdateCountdown() {
    if (!m_note || !CCountdown::Shows(*m_note)) return;
    // Only the line repaints: it fills its own background, so nothing under it is redrawn,
    // and an unchanged text repaints nothing at all.
    const QString text = QString::fromStdString(CCountdown::ForNote(*m_note, Clock::Now()));
    if (m_countdown->text() != text) m_countdown->setText(text);
}

void CStickyNoteDlg::Destroy() {
    if (m_closing && m_closeTimer.isActive() && m_tray->Platform().sound && g_ringingCount == 0)
        m_tray->Platform().sound->Stop();
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
    if (!m_note) return;
    m_geometry.SetTitleTextHeight(QFontMetrics(m_hFont).height());
    if (m_note->m_type == CNote::Memo) m_note->m_showCountdown = 0; // memos have no countdown
    m_geometry.m_countdownShown = m_note->m_showCountdown && !m_ringing;

    const RECT remind = NoteTemplate::kRemindCheck.ToPixels();
    NoteLayout l = m_geometry.Layout(width(), height(), m_ringing, m_homeRect.Width(), remind.top);
    m_textEdit->setGeometry(GdiPaint::ToQRect(l.textRect));
    m_textEdit->setVisible(l.textVisible);
    if (l.countdownVisible) m_countdown->setGeometry(GdiPaint::ToQRect(l.countdownRect));
    m_countdown->setVisible(l.countdownVisible);
    m_titleEdit->setGeometry(GdiPaint::ToQRect(m_geometry.TitleTextRect(width())));
    UpdateSizeLimits();
    if (m_geometry.m_countdownShown) UpdateCountdown();
}

void CStickyNoteDlg::UpdateSizeLimits() {
    if (m_closing) return;
    QSize min, max;
    if (m_ringing) {
        min = max = QSize(m_homeRect.Width(), m_homeRect.Height());
    } else {
        // The window manager then keeps interactive sizing within the same limits.
        min = QSize(m_geometry.MinWidth(), m_geometry.RolledHeight());
        max = QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (minimumSize() != min) setMinimumSize(min);
    if (maximumSize() != max) setMaximumSize(max);
}

void CStickyNoteDlg::SetRect(const RECT& r) {
    QRect q = GdiPaint::ToQRect(r);
    if (q == geometry()) return;
    if (q.size() != size()) m_requestedSize = q.size();
    setGeometry(q);
}

void CStickyNoteDlg::StoreWindowRect() {
    if (m_note) m_note->m_windowRect = GetWindowRect();
}

void CStickyNoteDlg::RollUp() {
    if (m_ringing || !Active()) return;
    RECT r = m_geometry.RollUpRect(GetWindowRect());
    m_textEdit->hide();
    SetRect(r);
    update();
    Layout();
}

void CStickyNoteDlg::Unroll() {
    if (m_ringing || !Active()) return;
    RECT r = m_geometry.UnrollRect(GetWindowRect(), m_note->m_firstRect);
    SetRect(r);
    show();
    m_textEdit->show();
    m_textEdit->setEnabled(true);
    Layout();
}

void CStickyNoteDlg::ApplyUserSizing(const RECT& proposed) {
    NoteSizing s = m_geometry.Sizing(proposed, m_ringing, m_homeRect);
    if (s.storeFirstRect) m_note->m_firstRect = s.rect;
    if (!m_ringing) m_textEdit->setEnabled(s.textEnabled);
    SetRect(s.rect);
}

void CStickyNoteDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!Active() || !m_note->m_posted) return;
    const bool requested = event->size() == m_requestedSize;
    m_requestedSize = QSize();
    // A size this window did not ask for comes from the user dragging a border through the
    // window manager: the sizing rules apply as they do for our own sizing.
    if (!requested) ApplyUserSizing(GetWindowRect());
    if (m_ringing || !Active()) return;
    if (int w = m_geometry.WidthAfterSize(width())) {
        RECT r = GetWindowRect();
        r.right = r.left + w;
        SetRect(r);
    }
    if (m_geometry.RollsUpAfterSize(height())) {
        RollUp();
    } else {
        m_textEdit->setEnabled(!IsRolledUp());
        Layout();
    }
    update();
    StoreWindowRect();
}

void CStickyNoteDlg::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (Active() && !m_ringing && m_note->m_posted) StoreWindowRect();
}

void CStickyNoteDlg::ApplyTopMost(bool onTop) {
    Qt::WindowFlags f = windowFlags();
    if (f.testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    f.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* w = windowHandle()) {
        // Changing the flags of a shown widget would re-create and hide its window; the
        // platform window takes the hint as it is.
        overrideWindowFlags(f);
        w->setFlags(f);
    } else {
        setWindowFlags(f);
    }
}

// ---------------------------------------------------------------- painting

void CStickyNoteDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_closing) {
        // Shrinking: the picture taken before the first step, cut off at the new size.
        if (!m_closeSnapshot.isNull()) p.drawPixmap(0, 0, m_closeSnapshot);
        return;
    }
    if (!m_ready || !m_note) return;
    const int w = width(), h = height();
    const int border = m_geometry.m_border, tH = m_geometry.m_titleHeight;
    const bool rolled = IsRolledUp();
    const COLORREF back = m_note->m_backColor;
    m_titleColor = TitleColorFor(back);
    m_glyphColor = GlyphColorFor(back);

    p.fillRect(rect(), GdiPaint::ToQColor(back));
    p.fillRect(0, 0, w, tH, GdiPaint::ToQColor(m_titleColor));
    if (!m_ringing)
        DrawPinBox(m_note->m_topMost ? 1 : 0, p);
    else if (m_pinFlash >= 0)
        DrawPinBox(m_pinFlash, p);

    const QColor glyph = GdiPaint::ToQColor(m_glyphColor);
    if (m_ringing) {
        int y = NoteTemplate::kRemindCheck.ToPixels().top - 2;
        p.fillRect(border + 1, y, (w - border - 1) - (border + 1), 1, glyph);
        m_okButton->SetBackColor(back);
    }

    auto pts = m_geometry.CloseGlyph(w);
    if (m_note->m_borderStyle == CNoteGeometry::StyleEmboss) {
        const QColor dark = SystemColors::Get(COLOR_3DDKSHADOW);
        const QColor light = SystemColors::Get(COLOR_BTNHIGHLIGHT);
        auto dashes = m_geometry.EmbossDashes(w);
        for (const PixelPoint& d : dashes)
            p.fillRect(d.x, d.y, 1, 2, dark);
        for (const PixelPoint& d : dashes)
            p.fillRect(d.x - 1, d.y, 1, 2, light);
    } else {
        QPolygon poly;
        for (const PixelPoint& pt : pts)
            poly << QPoint(pt.x, pt.y);
        p.setPen(QPen(glyph, 1));
        p.setBrush(glyph);
        p.drawPolygon(poly, Qt::OddEvenFill);
    }

    const QColor light = SystemColors::Get(COLOR_3DLIGHT);
    const QColor dark = SystemColors::Get(COLOR_3DDKSHADOW);
    switch (m_note->m_borderStyle) {
    case CNoteGeometry::StyleEmboss:
        GdiPaint::Draw3dRect(p, rect(), light, dark);
        GdiPaint::Draw3dRect(p, GdiPaint::ToQRect(m_geometry.EmbossInnerFrame(w, h, rolled)), dark,
                             light);
        break;
    case CNoteGeometry::StyleGlow:
        DrawGlow(p, rect(), back);
        break;
    default:
        GdiPaint::Draw3dRect(p, rect(), light, dark);
        break;
    }

    const QRect titleRect = GdiPaint::ToQRect(m_geometry.TitleTextRect(w));
    const QString title = QString::fromStdString(m_note->m_title);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    p.setFont(m_hFont);
    p.setClipRect(titleRect.translated(1, 1));
    p.setPen(Qt::black);
    p.drawText(titleRect.translated(1, 1), flags, title);
    p.setClipRect(titleRect);
    p.setPen(GdiPaint::ToQColor(m_note->m_textColor));
    p.drawText(titleRect, flags, title);
}

void CStickyNoteDlg::DrawPinBox(int state, QPainter& p) const {
    const QColor dark = SystemColors::Get(COLOR_3DDKSHADOW);
    const QColor light = SystemColors::Get(COLOR_3DLIGHT);
    const QColor title = GdiPaint::ToQColor(m_titleColor);
    auto buttonFrame = [&](QRect r) {
        GdiPaint::Draw3dRect(p, r, dark, light);
        r.adjust(1, 1, -1, -1);
        GdiPaint::Draw3dRect(p, r, light, dark);
        return r.adjusted(1, 1, -1, -1);
    };
    const QRect small = GdiPaint::ToQRect(m_geometry.PinBoxSmall());
    const QRect big = GdiPaint::ToQRect(m_geometry.PinBoxBig());
    if (state == 0) {
        buttonFrame(small);
        p.fillRect(buttonFrame(big), title); // the big square lies in front
    } else {
        buttonFrame(big);
        p.fillRect(buttonFrame(small), title); // the small one lies in front
    }
}

void CStickyNoteDlg::DrawGlow(QPainter& p, const QRect& r, COLORREF c) const {
    auto colours = GlowFrameColors(c);
    for (int i = 0; i < 5; ++i) {
        QColor q = GdiPaint::ToQColor(colours[i]);
        GdiPaint::Draw3dRect(p, r.adjusted(i, i, -i, -i), q, q);
    }
}

// ---------------------------------------------------------------- mouse and keyboard

NoteHit CStickyNoteDlg::HitAt(const QPoint& pos) const {
    return m_geometry.HitTest(pos.x(), pos.y(), width(), height(), m_ringing, SizingBorder(),
                              SystemMetrics::SM_CYFRAME + 1);
}

void CStickyNoteDlg::UpdateCursor(const QPoint& pos) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (HitAt(pos)) {
    case NoteHit::Left:
    case NoteHit::Right:
        shape = Qt::SizeHorCursor;
        break;
    case NoteHit::Top:
    case NoteHit::Bottom:
        shape = Qt::SizeVerCursor;
        break;
    case NoteHit::TopLeft:
    case NoteHit::BottomRight:
        shape = Qt::SizeFDiagCursor;
        break;
    case NoteHit::TopRight:
    case NoteHit::BottomLeft:
        shape = Qt::SizeBDiagCursor;
        break;
    default:
        break;
    }
    if (cursor().shape() != shape) setCursor(shape);
}

void CStickyNoteDlg::mousePressEvent(QMouseEvent* event) {
    if (!Active()) return;
    const QPoint pos = event->position().toPoint();
    const NoteHit hit = HitAt(pos);
    if (event->button() == Qt::LeftButton) {
        if (hit == NoteHit::Caption) {
            // Moving starts once the pointer travels, so a double click can still roll.
            m_drag = Drag::PendingMove;
            m_dragStartGlobal = event->globalPosition().toPoint();
            m_dragStartRect = geometry();
        } else if (hit != NoteHit::Client) {
            BeginSizing(hit, event->globalPosition().toPoint());
        } else {
            OnLButtonDown(pos, event->modifiers());
        }
    } else if (event->button() == Qt::RightButton && hit == NoteHit::Caption) {
        BeginTitleEdit();
    }
}

void CStickyNoteDlg::BeginSizing(NoteHit hit, const QPoint& globalPos) {
    Qt::Edges edges = EdgesOf(hit);
    // The window manager sizes the window where it can; without one, the window does.
    if (windowHandle() && windowHandle()->startSystemResize(edges)) return;
    m_drag = Drag::Sizing;
    m_sizingEdges = edges;
    m_dragStartGlobal = globalPos;
    m_dragStartRect = geometry();
}

void CStickyNoteDlg::mouseMoveEvent(QMouseEvent* event) {
    if (!Active()) return;
    const QPoint global = event->globalPosition().toPoint();
    const QPoint delta = global - m_dragStartGlobal;
    switch (m_drag) {
    case Drag::PendingMove:
        if (delta.manhattanLength() < QApplication::startDragDistance()) break;
        if (windowHandle() && windowHandle()->startSystemMove()) {
            m_drag = Drag::None;
            break;
        }
        m_drag = Drag::Moving;
        [[fallthrough]];
    case Drag::Moving:
        move(m_dragStartRect.topLeft() + delta);
        break;
    case Drag::Sizing: {
        QRect r = m_dragStartRect;
        if (m_sizingEdges & Qt::LeftEdge) r.setLeft(r.left() + delta.x());
        if (m_sizingEdges & Qt::RightEdge) r.setRight(r.right() + delta.x());
        if (m_sizingEdges & Qt::TopEdge) r.setTop(r.top() + delta.y());
        if (m_sizingEdges & Qt::BottomEdge) r.setBottom(r.bottom() + delta.y());
        RECT proposed = GdiPaint::FromQRect(r);
        if (proposed.right < proposed.left) proposed.right = proposed.left;
        if (proposed.bottom < proposed.top) proposed.bottom = proposed.top;
        ApplyUserSizing(proposed);
        break;
    }
    case Drag::None:
        if (!(event->buttons() & Qt::LeftButton)) UpdateCursor(event->position().toPoint());
        break;
    }
}

void CStickyNoteDlg::mouseReleaseEvent(QMouseEvent*) {
    m_drag = Drag::None;
}

void CStickyNoteDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    m_drag = Drag::None;
    if (!Active() || event->button() != Qt::LeftButton) return;
    if (HitAt(event->position().toPoint()) != NoteHit::Caption) return;
    if (IsRolledUp())
        Unroll();
    else
        RollUp();
}

void CStickyNoteDlg::OnLButtonDown(const QPoint& pos, Qt::KeyboardModifiers modifiers) {
    if (m_ringing || m_busy) return;
    if (m_geometry.InPinBox(pos.x(), pos.y())) {
        const bool shift = modifiers & Qt::ShiftModifier;
        const bool alt = (modifiers & Qt::AltModifier) ||
                         (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier);
        const bool ctrl = modifiers & Qt::ControlModifier;
        if (!shift && !alt)
            TogglePin();
        else
            ArrangeOthers(shift, alt, ctrl);
    } else if (m_geometry.InCloseBox(pos.x(), pos.y(), width())) {
        CloseByCloseBox();
    }
}

void CStickyNoteDlg::TogglePin() {
    m_note->m_topMost = m_note->m_topMost ? 0 : 1;
    ApplyTopMost(m_note->m_topMost != 0);
    update(0, 0, m_geometry.m_titleHeight, m_geometry.m_titleHeight);
}

void CStickyNoteDlg::ArrangeOthers(bool shift, bool alt, bool ctrl) {
    std::vector<CStickyNoteDlg*> others;
    for (const auto& n : m_tray->Store().notes())
        if (auto* w = dynamic_cast<CStickyNoteDlg*>(n->m_window); w && w != this && w->Active())
            others.push_back(w);
    const QRect screen = ScreenRect();
    const RECT me = GetWindowRect();
    auto places = ArrangeNotes(me, m_geometry.m_titleHeight, static_cast<int>(others.size()),
                               screen.width(), screen.height(), shift, alt, ctrl);
    for (size_t i = 0; i < others.size(); ++i) {
        CStickyNoteDlg* w = others[i];
        w->SetRect(
            RECT{places[i].x, places[i].y, places[i].x + me.Width(), places[i].y + me.Height()});
        w->show();
        w->raise();
    }
}

void CStickyNoteDlg::contextMenuEvent(QContextMenuEvent* event) {
    if (!Active()) return;
    if (event->reason() == QContextMenuEvent::Keyboard) {
        emit noteMenuRequested(mapToGlobal(QPoint(5, 5)));
        return;
    }
    // Only the pin box carries the menu; a right click anywhere else is simply ignored.
    if (m_geometry.InPinBox(event->pos().x(), event->pos().y()))
        emit noteMenuRequested(event->globalPos());
}

void CStickyNoteDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        OnCancel();
        return;
    }
    QWidget::keyPressEvent(event);
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

bool CStickyNoteDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_titleEdit) {
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            EndTitleEdit(true);
        } else if (event->type() == QEvent::KeyPress) {
            int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                // Escape gives the old title back instead of closing the note.
                EndTitleEdit(key != Qt::Key_Escape);
                m_textEdit->setFocus();
                return true;
            }
        }
    } else if ((watched == m_hoursEdit || watched == m_minutesEdit) &&
               event->type() == QEvent::FocusIn) {
        m_remindCheck->setChecked(true);
    }
    return QWidget::eventFilter(watched, event);
}

void CStickyNoteDlg::BeginTitleEdit() {
    if (m_ringing || m_tray->State() == CTrayCore::StateManagerOpen) return;
    m_titleEdit->setText(QString::fromStdString(m_note->m_title));
    m_titleEdit->setGeometry(GdiPaint::ToQRect(m_geometry.TitleTextRect(width())));
    m_titleEdit->show();
    activateWindow();
    m_titleEdit->setFocus(Qt::MouseFocusReason);
    m_titleEdit->selectAll();
}

void CStickyNoteDlg::EndTitleEdit(bool keep) {
    if (m_endingTitleEdit || !m_titleEdit->isVisible() || m_closing || !m_note) return;
    m_endingTitleEdit = true;
    if (keep) {
        m_note->m_title = m_titleEdit->text().toStdString();
        setWindowTitle(m_titleEdit->text());
    } else {
        m_titleEdit->setText(QString::fromStdString(m_note->m_title));
    }
    m_titleEdit->hide();
    update(0, 0, width(), m_geometry.m_titleHeight);
    m_endingTitleEdit = false;
}

// ---------------------------------------------------------------- closing

void CStickyNoteDlg::OnCancel() {
    if (!m_note || m_closing) return;
    m_note->m_posted = 0;
    if (!m_ringing) CloseQuietly(true);
}

void CStickyNoteDlg::CloseByCloseBox() {
    StoreWindowRect();
    EndTitleEdit(true);
    m_closeStart = GetWindowRect();
    m_closeSnapshot = grab();
    m_closing = true;
    if (m_tray->Platform().sound) m_tray->Platform().sound->PlayResource(kCloseSound);
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        w->hide();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_closeStep = 1;
    setGeometry(GdiPaint::ToQRect(CNoteGeometry::CloseStep(m_closeStart, m_closeStep)));
    m_closeTimer.start();
}

void CStickyNoteDlg::OnCloseStep() {
    if (++m_closeStep <= 3) {
        setGeometry(GdiPaint::ToQRect(CNoteGeometry::CloseStep(m_closeStart, m_closeStep)));
        return;
    }
    m_closeTimer.stop();
    // Stopping the click must not silence an alarm that rings in another note.
    if (m_tray->Platform().sound && g_ringingCount == 0) m_tray->Platform().sound->Stop();
    if (!m_note) return;
    m_note->m_posted = 0;
    // The rectangle was stored before shrinking.
    m_note->m_text = GetBodyText();
    m_note->m_title = GetTitleText();
    Teardown();
}

void CStickyNoteDlg::CloseQuietly(bool storeRect) {
    if (m_ringing || !m_note) return;
    if (storeRect) StoreWindowRect();
    EndTitleEdit(true);
    m_note->m_text = GetBodyText();
    m_note->m_title = GetTitleText();
    Teardown();
}

void CStickyNoteDlg::Teardown() {
    if (m_note && m_titleEdit->isVisible() && !m_closing) EndTitleEdit(true);
    // Destroyed while ringing (the program ends): give up the ringing and its sound.
    if (m_ring.IsRinging()) m_ring.Abandon();
    m_closeTimer.stop();
    m_closing = true;
    m_ready = false;
    if (m_note && m_note->m_window == this) m_note->m_window = nullptr;
    m_note = nullptr;
    hide();
    deleteLater();
}
