#include "gui/manager/CNoteEditForm.h"

#include "core/platform/IDialogs.h"
#include "core/platform/SystemMetrics.h"
#include "core/sticky/NoteSchemes.h"
#include "gui/manager/CDateTimeEdit.h"
#include "gui/manager/CIndexDayEdit.h"
#include "gui/widgets/CCompactComboStyle.h"
#include "gui/widgets/CUpDownButtons.h"
#include "gui/widgets/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <limits>

namespace {
const char* const kCaption = "Jotterly";

// Names a control for assistive tools and tests, and gives it its tip.
template <class W>
W* Named(W* w, const char* objectName, const QString& accessible, const QString& tip = {}) {
    w->setObjectName(QString::fromLatin1(objectName));
    w->setAccessibleName(accessible);
    if (!tip.isEmpty()) w->setToolTip(tip);
    return w;
}

QLabel* Label(QWidget* parent, const QString& text, const char* objectName) {
    auto* l = new QLabel(text, parent);
    return Named(l, objectName, text);
}
} // namespace

CNoteEditForm::CNoteEditForm(QWidget* parent, bool timeOnly, IDialogs& dialogs)
    : QWidget(parent), m_model(timeOnly), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("NoteEditForm"));
    setAccessibleName(tr("Event editor"));
    setFont(DialogUnits::DialogFont());
    CreateControls();
    m_model.LoadFromNote(nullptr);
    Push();
}

void CNoteEditForm::CreateControls() {
    const DialogUnits du(font());
    auto place = [&](QWidget* w, int x, int y, int width, int height) {
        w->setGeometry(du.Rect(x, y, width, height));
    };

    // Created in the order the Tab key visits them.
    m_typeLabel = Label(this, tr("Type"), "typeLabel");
    place(m_typeLabel, 7, 3, 19, 9);
    m_typeCombo = Named(new QComboBox(this), "typeCombo", tr("Type"), tr("Select note type"));
    for (int i = 0; i < CNoteEditModel::kTypeCount; ++i)
        m_typeCombo->addItem(tr(CNoteEditModel::kTypeNames[i]), CNoteEditModel::TypeAt(i));
    place(m_typeCombo, 31, 2, 48, 13);

    m_countEdit = Named(new QLineEdit(this), "countEdit", tr("Recurrence count"),
                        tr("Input recurring number"));
    m_countEdit->setAlignment(Qt::AlignCenter);
    place(m_countEdit, 80, 2, 14, 13);
    m_countSpin = new CUpDownButtons(this);
    m_countSpin->setObjectName(QStringLiteral("countArrows"));
    m_countSpin->SetName(tr("Recurrence count arrows"));

    m_unitCombo =
        Named(new QComboBox(this), "unitCombo", tr("Recurrence unit"), tr("Select recurring unit"));
    for (const char* unit : CNoteEditModel::kUnitNames)
        m_unitCombo->addItem(tr(unit));
    m_unitCombo->setMaxVisibleItems(CNoteEditModel::kUnitCount);
    place(m_unitCombo, 108, 2, 50, 13);
    auto* comboStyle = new CCompactComboStyle(QStyleFactory::create(style()->name()));
    comboStyle->setParent(this);
    m_typeCombo->setStyle(comboStyle);
    m_unitCombo->setStyle(comboStyle);

    m_priorLabel = Label(this, tr("Prior"), "priorLabel");
    place(m_priorLabel, 172, 4, 15, 8);
    m_priorEdit = Named(new QLineEdit(this), "priorEdit", tr("Prior days"), tr("Input prior days"));
    m_priorEdit->setAlignment(Qt::AlignCenter);
    place(m_priorEdit, 195, 2, 18, 12);
    m_daysLabel = Label(this, tr("days"), "daysLabel");
    place(m_daysLabel, 215, 4, 16, 10);

    m_startLabel = Label(this, tr("Start"), "startLabel");
    place(m_startLabel, 7, 18, 16, 8);
    m_startEdit =
        Named(new CDateTimeEdit(m_model.m_start, this), "startEdit", tr("Start"),
              tr("Right Click/Push the spin button/Use keyboard to change date and time"));
    place(m_startEdit, 31, 16, 113, 12);
    m_startSpin = new CUpDownButtons(this);
    m_startSpin->setObjectName(QStringLiteral("startArrows"));
    m_startSpin->SetName(tr("Start arrows"));
    m_startSpin->setToolTip(tr("Change a date field"));

    m_indexLabel = Label(this, tr("Index day"), "indexLabel");
    place(m_indexLabel, 163, 18, 32, 8);
    m_indexCheck =
        Named(new QCheckBox(this), "indexCheck", tr("Use an index day"),
              tr("Repeat on a weekday of the month, such as the 2nd Tuesday, not on a date"));
    place(m_indexCheck, 195, 18, 12, 10);
    m_indexEdit = Named(new CIndexDayEdit(m_model.m_index, this), "indexEdit", tr("Index day"),
                        tr("Which weekday of the month, such as \"2nd Tue\" for the 2nd "
                           "Tuesday of the month; right click or use the arrows to change it"));
    place(m_indexEdit, 207, 16, 61, 12);
    m_indexSpin = new CUpDownButtons(this);
    m_indexSpin->setObjectName(QStringLiteral("indexArrows"));
    m_indexSpin->SetName(tr("Index day arrows"));

    m_subjectLabel = Label(this, tr("Subject"), "subjectLabel");
    place(m_subjectLabel, 2, 32, 25, 8);
    m_subjectEdit =
        Named(new QLineEdit(this), "subjectEdit", tr("Subject"), tr("Input note subject"));
    m_subjectEdit->setMaxLength(std::numeric_limits<int>::max()); // titles of any length
    place(m_subjectEdit, 31, 30, 126, 12);
    m_itemLabel = Label(this, tr("Item"), "itemLabel");
    place(m_itemLabel, 8, 45, 14, 8);
    m_itemEdit = Named(new QPlainTextEdit(this), "itemEdit", tr("Item"), tr("Input note item"));
    m_itemEdit->setTabChangesFocus(true); // so the keyboard can leave it
    m_itemEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    place(m_itemEdit, 31, 44, 251, 27);

    m_typeLabel->setBuddy(m_typeCombo);
    m_priorLabel->setBuddy(m_priorEdit);
    m_startLabel->setBuddy(m_startEdit);
    m_indexLabel->setBuddy(m_indexCheck);
    m_subjectLabel->setBuddy(m_subjectEdit);
    m_itemLabel->setBuddy(m_itemEdit);

    // The arrows sit right of their edits; the count's fill the gap up to the unit combo.
    auto besides = [](CUpDownButtons* spin, QWidget* edit, int width) {
        const QRect r = edit->geometry();
        spin->setGeometry(r.x() + r.width() + 1, r.y(), width, r.height());
    };
    const QRect count = m_countEdit->geometry();
    const int spinWidth =
        m_unitCombo->x() - SystemMetrics::SM_CXEDGE - (count.x() + count.width()) - 1;
    besides(m_countSpin, m_countEdit, spinWidth);
    besides(m_startSpin, m_startEdit, spinWidth);
    besides(m_indexSpin, m_indexEdit, spinWidth);

    if (m_model.TimeOnly()) {
        for (QWidget* w : std::initializer_list<QWidget*>{m_subjectLabel, m_subjectEdit,
                                                          m_itemLabel, m_itemEdit})
            w->hide();
    }
    const QWidget* ref = Reference();
    resize(ref->x() + ref->width() + 3, ref->y() + ref->height());

    connect(m_typeCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        Pull();
        const auto refused = m_model.OnTypeChanged(CNoteEditModel::TypeAt(index));
        Push();
        Refuse(refused);
    });
    connect(m_unitCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        Pull();
        m_model.OnUnitChanged(index);
        Push();
    });
    connect(m_indexCheck, &QCheckBox::clicked, this, [this](bool checked) {
        Pull();
        m_model.OnIndexCheckClicked(checked);
        Push();
    });
    auto stepCount = [this](int delta) {
        Pull();
        m_model.StepCount(delta);
        Push();
    };
    connect(m_countSpin, &CUpDownButtons::stepped, this, stepCount);
    connect(m_startSpin, &CUpDownButtons::stepped, m_startEdit, &CFieldEdit::StepField);
    connect(m_indexSpin, &CUpDownButtons::stepped, m_indexEdit, &CFieldEdit::StepField);
    // The count's arrow keys step it like its arrows.
    m_countEdit->installEventFilter(this);
}

QWidget* CNoteEditForm::Reference() const {
    return m_model.TimeOnly() ? static_cast<QWidget*>(m_indexSpin) : m_itemEdit;
}

void CNoteEditForm::PlaceIn(QPoint pos) {
    move(pos);
    QWidget* host = parentWidget();
    const QWidget* ref = Reference();
    const int right = pos.x() + ref->x() + ref->width();
    if (host && host->width() < right) host->resize(right + 6, host->height());
}

bool CNoteEditForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_countEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Pull();
            m_model.StepCount(key == Qt::Key_Up ? 1 : -1);
            Push();
            m_countEdit->selectAll();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CNoteEditForm::Pull() {
    m_model.m_countText = m_countEdit->text().toStdString();
    m_model.m_priorText = m_priorEdit->text().toStdString();
    if (!m_model.TimeOnly()) {
        m_model.m_subject = m_subjectEdit->text().toStdString();
        m_model.m_item = ToStoredText(m_itemEdit->toPlainText().toStdString());
    }
}

void CNoteEditForm::Push() {
    {
        const QSignalBlocker typeBlock(m_typeCombo), unitBlock(m_unitCombo);
        m_typeCombo->setCurrentIndex(CNoteEditModel::IndexOfType(m_model.m_type));
        m_unitCombo->setCurrentIndex(m_model.m_unit);
    }
    auto setText = [](QLineEdit* e, const std::string& s) {
        const QString text = QString::fromStdString(s);
        if (e->text() != text) e->setText(text);
    };
    setText(m_countEdit, m_model.m_countText);
    setText(m_priorEdit, m_model.m_priorText);
    if (!m_model.TimeOnly()) {
        setText(m_subjectEdit, m_model.m_subject);
        const QString item = QString::fromStdString(ToDisplayText(m_model.m_item));
        if (m_itemEdit->toPlainText() != item) m_itemEdit->setPlainText(item);
    }
    m_indexCheck->setChecked(m_model.m_indexChecked);
    m_startEdit->Refresh();
    m_indexEdit->Refresh();

    const CNoteEditModel::Visibility& v = m_model.Visible();
    for (QWidget* w : std::initializer_list<QWidget*>{m_countEdit, m_countSpin})
        w->setVisible(v.count);
    m_unitCombo->setVisible(v.unit);
    for (QWidget* w : std::initializer_list<QWidget*>{m_priorLabel, m_priorEdit, m_daysLabel})
        w->setVisible(v.prior);
    for (QWidget* w : std::initializer_list<QWidget*>{m_indexLabel, m_indexCheck})
        w->setVisible(v.indexCheck);
    for (QWidget* w : std::initializer_list<QWidget*>{m_indexEdit, m_indexSpin})
        w->setVisible(v.indexField);
}

void CNoteEditForm::Refuse(const std::optional<CNoteEditModel::Refusal>& refusal) {
    if (!refusal) return;
    m_dialogs.MessageBox(refusal->message, kCaption, IDialogs::Ok, IDialogs::Warning);
    QLineEdit* edit = refusal->edit == CNoteEditModel::CountEdit ? m_countEdit : m_priorEdit;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void CNoteEditForm::LoadFromNote(const CNote* note) {
    Pull();
    m_model.LoadFromNote(note);
    Push();
}

bool CNoteEditForm::SaveToNote(CNote& note) {
    Pull();
    const auto refused = m_model.SaveToNote(note);
    Push();
    Refuse(refused);
    return !refused;
}

void CNoteEditForm::NewEntry() {
    m_model.NewEntry();
    Push();
    (m_model.TimeOnly() ? static_cast<QWidget*>(m_startEdit) : m_subjectEdit)->setFocus();
}

void CNoteEditForm::Clear() {
    Pull();
    const auto refused = m_model.Clear();
    Push();
    Refuse(refused);
}
