#pragma once

#include "core/manager/CNoteEditModel.h"

#include <QWidget>

class CDateTimeEdit;
class CIndexDayEdit;
class CNote;
class CUpDownButtons;
class IDialogs;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The event editor: type, count and unit, prior days, start, index day and (unless time-only)
// subject and text of one note. It has no frame of its own; a host places it. Enter is left to
// the host. What is shown and what is written is decided by CNoteEditModel.
class CNoteEditForm : public QWidget {
    Q_OBJECT
public:
    CNoteEditForm(QWidget* parent, bool timeOnly, IDialogs& dialogs);

    void LoadFromNote(const CNote* note);
    // False, with the message shown and the focus on the refused field, when a value is
    // refused; the note is then untouched.
    bool SaveToNote(CNote& note);
    void Clear();
    // An empty one-time reminder at the next whole hour; the subject takes the focus.
    void NewEntry();

    // Moves the form to pos in its parent and widens the parent when the form needs more room.
    void PlaceIn(QPoint pos);

    const CNoteEditModel& Model() const { return m_model; }
    CDateTimeEdit* StartEdit() const { return m_startEdit; }
    CIndexDayEdit* IndexEdit() const { return m_indexEdit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Pull();
    void Push();
    void Refuse(const std::optional<CNoteEditModel::Refusal>& refusal);
    QWidget* Reference() const;

    CNoteEditModel m_model;
    IDialogs& m_dialogs;

    QLabel* m_typeLabel = nullptr;
    QComboBox* m_typeCombo = nullptr;
    QLineEdit* m_countEdit = nullptr;
    CUpDownButtons* m_countSpin = nullptr;
    QComboBox* m_unitCombo = nullptr;
    QLabel* m_priorLabel = nullptr;
    QLineEdit* m_priorEdit = nullptr;
    QLabel* m_daysLabel = nullptr;
    QLabel* m_startLabel = nullptr;
    CDateTimeEdit* m_startEdit = nullptr;
    CUpDownButtons* m_startSpin = nullptr;
    QLabel* m_indexLabel = nullptr;
    QCheckBox* m_indexCheck = nullptr;
    CIndexDayEdit* m_indexEdit = nullptr;
    CUpDownButtons* m_indexSpin = nullptr;
    QLabel* m_subjectLabel = nullptr;
    QLineEdit* m_subjectEdit = nullptr;
    QLabel* m_itemLabel = nullptr;
    QPlainTextEdit* m_itemEdit = nullptr;
};
