#pragma once

#include "core/manager/CDateTimeFields.h"
#include "core/manager/CIndexDayFields.h"
#include "core/model/CNote.h"

#include <optional>
#include <string>

// The event editor without its window: the state of every control (the texts of the count and
// prior edits as typed, the combo selections, the check box, the start and index-day fields),
// which of them are shown for the type and unit, and the reading and writing of a note. The
// window copies the typed texts in before each call and shows the state afterwards.
class CNoteEditModel {
public:
    enum Edit { CountEdit, PriorEdit };
    // A typed value that was refused: the edit to put the focus on and the message to show.
    struct Refusal {
        Edit edit;
        std::string message;
    };
    struct Visibility {
        bool count = false, unit = false, prior = true, indexCheck = false, indexField = false;
    };

    static constexpr int kTypeCount = 3, kUnitCount = 8;
    static constexpr int kMinCount = 1, kMaxCount = 999, kMinPrior = 0, kMaxPrior = 24;
    // The type combo's entries in order ("One Time", "Every", "Memo") and their note types.
    static const char* const kTypeNames[kTypeCount];
    static const char* const kUnitNames[kUnitCount];
    static int TypeAt(int index);
    static int IndexOfType(int type);

    explicit CNoteEditModel(bool timeOnly);

    bool TimeOnly() const { return m_timeOnly; }
    const Visibility& Visible() const { return m_visible; }

    // Shows and hides the controls for a type and unit; a hidden count becomes 1, a hidden
    // prior 0.
    void ApplyTypeRules(int type, int unit);
    // The index-day check box only for monthly and yearly events, its field only when ticked.
    void UpdateIndexVisibility();

    // The user chose a type: unit Day, prior 0, and (unless a memo) the start an hour from now.
    // A refused count is reported, and the type changes all the same.
    std::optional<Refusal> OnTypeChanged(int type);
    void OnUnitChanged(int unit);
    void OnIndexCheckClicked(bool checked);
    // The count's arrows and arrow keys: within 1..999, starting from the last good count when
    // the text is no number.
    void StepCount(int delta);
    // Back to a new one-time reminder.
    std::optional<Refusal> Clear();
    // An empty one-time reminder starting at the next whole hour, nothing kept of the last note.
    void NewEntry();
    static COleDateTime NextWholeHour(const COleDateTime& now);

    // Fills the fields from the note, or for a new entry when note is null.
    void LoadFromNote(const CNote* note);
    // Writes the fields into the note and recomputes its times; on a refused value the note is
    // left untouched.
    std::optional<Refusal> SaveToNote(CNote& note);

    int m_type = CNote::OneTime; // the note type of the selected type entry
    int m_unit = CNote::Minute;  // the selected unit entry
    std::string m_countText = "1";
    std::string m_priorText = "0";
    std::string m_subject;
    std::string m_item;
    bool m_indexChecked = false;
    CDateTimeFields m_start;
    CIndexDayFields m_index;
    int m_count = 1;
    int m_prior = 0;

private:
    std::optional<Refusal> ReadFields();
    void WriteFields();
    void HideCount();
    void HidePrior();
    static COleDateTime InAnHour();

    bool m_timeOnly;
    Visibility m_visible;
};
