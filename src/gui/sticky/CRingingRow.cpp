#include "gui/sticky/CRingingRow.h"

#include "core/sticky/NoteTemplate.h"
#include "gui/platform/GdiPaint.h"
#include "gui/widgets/CHoverButton.h"
#include "gui/widgets/CNoteCheckStyle.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyleFactory>
#include <algorithm>

namespace {
const QString kRemindText = QStringLiteral("Remind me again after");
const QString kRemindTip = QStringLiteral("Remind me later");

// The row's controls in the note window's layout, and the row as their bounding box.
RECT RowRect() {
    RECT r = NoteTemplate::kRemindCheck.ToPixels();
    for (const auto& c :
         {NoteTemplate::kHoursEdit, NoteTemplate::kHoursLabel, NoteTemplate::kMinutesEdit,
          NoteTemplate::kMinutesLabel, NoteTemplate::kOkButton}) {
        const RECT p = c.ToPixels();
        r.left = std::min(r.left, p.left);
        r.top = std::min(r.top, p.top);
        r.right = std::max(r.right, p.right);
        r.bottom = std::max(r.bottom, p.bottom);
    }
    return r;
}

// A control's place inside the row.
QRect Place(const NoteTemplate::DluRect& control) {
    const RECT row = RowRect();
    return GdiPaint::ToQRect(control.ToPixels()).translated(-row.left, -row.top);
}
} // namespace

CRingingRow::CRingingRow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ringingRow"));
    setGeometry(GdiPaint::ToQRect(RowRect()));

    m_remindCheck = new QCheckBox(kRemindText, this);
    m_remindCheck->setGeometry(Place(NoteTemplate::kRemindCheck));
    m_remindCheck->setToolTip(kRemindTip);
    auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    m_hoursEdit = new QLineEdit(this);
    m_hoursEdit->setGeometry(Place(NoteTemplate::kHoursEdit));
    m_hoursEdit->setToolTip(QStringLiteral("Input delay hours"));
    m_minutesEdit = new QLineEdit(this);
    m_minutesEdit->setGeometry(Place(NoteTemplate::kMinutesEdit));
    m_minutesEdit->setToolTip(QStringLiteral("Input delay minutes"));
    m_hoursLabel = new QLabel(QStringLiteral("hours"), this);
    m_hoursLabel->setGeometry(Place(NoteTemplate::kHoursLabel));
    m_minutesLabel = new QLabel(QStringLiteral("minutes"), this);
    m_minutesLabel->setGeometry(Place(NoteTemplate::kMinutesLabel));
    m_okButton = new CHoverButton(this);
    m_okButton->setGeometry(Place(NoteTemplate::kOkButton));
    m_okButton->setToolTip(QStringLiteral("Close dialog"));
    m_okButton->SetFlags(CHoverButton::TextButton | CHoverButton::AlwaysFramed |
                         CHoverButton::TextShadow);
    m_okButton->SetCaption(QStringLiteral("OK"), 0, 0);
    connect(m_okButton, &QPushButton::clicked, this, &CRingingRow::accepted);

    // The row was laid out for a narrower dialog font: a point smaller, and the two-digit
    // fields show both digits inside a thin frame.
    m_rowFont = parent->font();
    m_rowFont.setPixelSize(std::max(m_rowFont.pixelSize() - 1, kMinRowPixels));
    auto* checkStyle = new CNoteCheckStyle(QStyleFactory::create(style()->name()));
    checkStyle->setParent(this);
    m_remindCheck->setStyle(checkStyle);
    Arrange(m_rowFont, false);
    for (QLineEdit* e : {m_hoursEdit, m_minutesEdit}) {
        e->setValidator(digits);
        e->setAlignment(Qt::AlignCenter);
        e->setTextMargins(-2, 0, -2, 0); // the edit's own inner margin would hide a digit
        e->installEventFilter(this);
        // Return in either field is the dialog's OK, as with a default button.
        connect(e, &QLineEdit::returnPressed, this, &CRingingRow::accepted);
        // Typing a delay means "remind me later", even where the focus came without a click.
        connect(e, &QLineEdit::textEdited, this, [this] { m_remindCheck->setChecked(true); });
    }
    hide();
}

void CRingingRow::FitInto(int right) {
    const int inRow = right - RowRect().left;
    setFixedWidth(std::max(inRow, Place(NoteTemplate::kOkButton).right() + 1));
    m_remindCheck->setText(kRemindText);
    m_remindCheck->setToolTip(kRemindTip);
    QFont font = m_rowFont;
    for (int px = font.pixelSize(); px >= kMinRowPixels; --px) {
        font.setPixelSize(px);
        if (Arrange(font, false) <= inRow || Arrange(font, true) <= inRow) return;
    }
    // Text smaller than this cannot be read: the caption gives way instead.
    const int over = Arrange(font, true) - inRow;
    const QFontMetrics fm(font);
    const int room = std::max(0, fm.horizontalAdvance(kRemindText) - over);
    m_remindCheck->setText(fm.elidedText(kRemindText, Qt::ElideRight, room));
    m_remindCheck->setToolTip(kRemindText + QStringLiteral(" (") + kRemindTip +
                              QStringLiteral(")"));
    Arrange(font, true);
}

int CRingingRow::Arrange(const QFont& font, bool packed) {
    constexpr int kGap = 2;
    const QFontMetrics fm(font);
    const struct {
        QWidget* widget;
        NoteTemplate::DluRect place;
        int width; // 0: the template's
    } controls[] = {
        {m_remindCheck, NoteTemplate::kRemindCheck, 0},
        {m_hoursEdit, NoteTemplate::kHoursEdit, fm.horizontalAdvance(QStringLiteral("24")) + 2},
        {m_hoursLabel, NoteTemplate::kHoursLabel, fm.horizontalAdvance(m_hoursLabel->text()) + 1},
        {m_minutesEdit, NoteTemplate::kMinutesEdit, fm.horizontalAdvance(QStringLiteral("59")) + 2},
        {m_minutesLabel, NoteTemplate::kMinutesLabel,
         fm.horizontalAdvance(m_minutesLabel->text()) + 1},
    };
    int end = 0;
    for (const auto& c : controls) {
        c.widget->setFont(font);
        const QRect place = Place(c.place);
        int width = c.width;
        if (c.widget == m_remindCheck) width = m_remindCheck->sizeHint().width();
        // The edits keep their template width when their digits fit it.
        if (c.widget == m_hoursEdit || c.widget == m_minutesEdit)
            width = std::max(width, place.width());
        const int x = packed ? (end ? end + kGap : place.left())
                             : std::max(place.left(), end ? end + kGap : 0);
        c.widget->setGeometry(x, place.top(), width, place.height());
        end = x + width;
    }
    return end;
}

void CRingingRow::Begin() {
    m_remindCheck->setChecked(false);
    m_okButton->setEnabled(true);
    show();
}

void CRingingRow::End() {
    hide();
    m_okButton->setEnabled(false);
}

void CRingingRow::SetDelay(int hours, int minutes) {
    m_hoursEdit->setText(QString::number(hours));
    m_minutesEdit->setText(QString::number(minutes));
}

void CRingingRow::SetColors(COLORREF back, COLORREF text, COLORREF rule) {
    const QColor backColor = GdiPaint::ToQColor(back), textColor = GdiPaint::ToQColor(text);
    for (QWidget* w : std::initializer_list<QWidget*>{m_remindCheck, m_hoursEdit, m_minutesEdit,
                                                      m_hoursLabel, m_minutesLabel})
        GdiPaint::SetWidgetColors(w, backColor, textColor);
    m_okButton->SetTextColor(text);
    m_okButton->SetBackColor(back);
    // A one-pixel frame in the rule's colour. (A style sheet replaces the palette, so the
    // colours are given again.)
    const QString frame =
        QStringLiteral("QLineEdit { border: 1px solid %1; padding: 0px; background: %2; "
                       "color: %3; }")
            .arg(GdiPaint::ToQColor(rule).name(), backColor.name(), textColor.name());
    for (QLineEdit* e : {m_hoursEdit, m_minutesEdit})
        if (e->styleSheet() != frame) e->setStyleSheet(frame);
}

std::string CRingingRow::HoursText() const {
    return m_hoursEdit->text().toStdString();
}

std::string CRingingRow::MinutesText() const {
    return m_minutesEdit->text().toStdString();
}

bool CRingingRow::RemindChecked() const {
    return m_remindCheck->isChecked();
}

void CRingingRow::Focus(QLineEdit* edit) {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

bool CRingingRow::eventFilter(QObject* watched, QEvent* event) {
    // Entering either delay field ticks the box.
    if ((watched == m_hoursEdit || watched == m_minutesEdit) && event->type() == QEvent::FocusIn)
        m_remindCheck->setChecked(true);
    return QWidget::eventFilter(watched, event);
}
