#include "gui/sticky/CStickyNoteSizing.h"

#include "core/model/CNote.h"
#include "core/sticky/NotePlacement.h"
#include "core/sticky/NoteTemplate.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/TopLevelWindows.h"
#include "gui/sticky/CStickyNoteDlg.h"

#include <QFontMetrics>
#include <QPlainTextEdit>

void CStickyNoteSizing::Layout() {
    CNote* note = w.m_note;
    if (!note) return;
    CNoteGeometry& g = w.m_geometry;
    g.SetTitleTextHeight(QFontMetrics(w.m_hFont).height());
    if (note->m_type == CNote::Memo) note->m_showCountdown = 0; // memos have no countdown
    g.m_countdownShown = note->m_showCountdown && !w.IsRinging();

    const RECT remind = NoteTemplate::kRemindCheck.ToPixels();
    NoteLayout l = g.Layout(w.width(), w.height(), w.IsRinging(), w.m_homeRect.Width(), remind.top);
    w.m_textEdit->setGeometry(GdiPaint::ToQRect(l.textRect));
    w.m_textEdit->setVisible(l.textVisible);
    if (l.countdownVisible) w.m_countdown->setGeometry(GdiPaint::ToQRect(l.countdownRect));
    w.m_countdown->setVisible(l.countdownVisible);
    w.m_titleEdit->setGeometry(GdiPaint::ToQRect(g.TitleTextRect(w.width())));
    UpdateSizeLimits();
    if (g.m_countdownShown) w.UpdateCountdown();
}

void CStickyNoteSizing::UpdateSizeLimits() {
    if (w.m_closing) return;
    QSize min, max;
    if (w.IsRinging()) {
        min = max = QSize(w.m_homeRect.Width(), w.m_homeRect.Height());
    } else {
        // The window manager then keeps interactive sizing within the same limits.
        min = QSize(w.m_geometry.MinWidth(), w.m_geometry.RolledHeight());
        max = QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (w.minimumSize() != min) w.setMinimumSize(min);
    if (w.maximumSize() != max) w.setMaximumSize(max);
}

void CStickyNoteSizing::SetRect(const RECT& r) {
    QRect q = GdiPaint::ToQRect(r);
    if (q == w.geometry()) return;
    if (q.size() != w.size()) m_requestedSize = q.size();
    w.setGeometry(q);
}

RECT CStickyNoteSizing::FreePlace(const RECT& r) const {
    std::vector<RECT> taken;
    for (INoteWindow* window : w.m_hub.NoteWindows())
        if (window != static_cast<const INoteWindow*>(&w)) taken.push_back(window->GetWindowRect());
    return OffsetFromTaken(r, taken, w.m_geometry.m_titleHeight,
                           GdiPaint::FromQRect(TopLevelWindows::WorkArea()));
}

void CStickyNoteSizing::StoreWindowRect() {
    if (!w.m_note) return;
    const RECT r = w.GetWindowRect();
    if (r == w.m_note->m_windowRect) return;
    w.m_note->m_windowRect = r;
    w.m_hub.NoteChanged();
}

void CStickyNoteSizing::RollUp() {
    if (w.IsRinging() || !w.Active()) return;
    RECT r = w.m_geometry.RollUpRect(w.GetWindowRect());
    w.m_textEdit->hide();
    SetRect(r);
    w.update();
    Layout();
}

void CStickyNoteSizing::Unroll() {
    if (w.IsRinging() || !w.Active()) return;
    RECT r = w.m_geometry.UnrollRect(w.GetWindowRect(), w.m_note->m_firstRect);
    SetRect(r);
    w.show();
    w.m_textEdit->show();
    w.m_textEdit->setEnabled(true);
    Layout();
}

void CStickyNoteSizing::ApplyUserSizing(const RECT& proposed) {
    NoteSizing s = w.m_geometry.Sizing(proposed, w.IsRinging(), w.m_homeRect);
    if (s.storeFirstRect) w.m_note->m_firstRect = s.rect;
    if (!w.IsRinging()) w.m_textEdit->setEnabled(s.textEnabled);
    SetRect(s.rect);
}

void CStickyNoteSizing::Resized(const QSize& size) {
    if (!w.Active() || !w.m_note->m_posted) return;
    const bool requested = size == m_requestedSize;
    m_requestedSize = QSize();
    // A size this window did not ask for comes from the user dragging a border through the
    // window manager: the sizing rules apply as they do for our own sizing.
    if (!requested) ApplyUserSizing(w.GetWindowRect());
    if (w.IsRinging() || !w.Active()) return;
    ApplySizeRules();
    StoreWindowRect();
}

void CStickyNoteSizing::ApplySizeRules() {
    if (int width = w.m_geometry.WidthAfterSize(w.width())) {
        RECT r = w.GetWindowRect();
        r.right = r.left + width;
        SetRect(r);
    }
    if (w.m_geometry.RollsUpAfterSize(w.height())) {
        RollUp();
    } else {
        w.m_textEdit->setEnabled(!w.IsRolledUp());
        Layout();
    }
    w.update();
}
