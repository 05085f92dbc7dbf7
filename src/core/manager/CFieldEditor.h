#pragma once

#include "core/manager/CFieldChoices.h"

#include <optional>
#include <string>

// What an edit control divided into fields does with input, with no pixels involved: the text,
// the selection (which is always set from here; the control only shows it), the field last
// selected, and the popup list opened by a right click. Typed text never reaches it.
class CFieldEditor {
public:
    enum class Key { Left, Right, Up, Down, Space, Other };

    virtual ~CFieldEditor() = default;

    virtual std::string Text() const = 0;
    virtual void OnFocus() = 0;
    // A left click placed the caret at pos.
    virtual void OnClick(int pos) = 0;
    virtual void OnKey(Key key) = 0;
    // Moves the field that holds the end of the selection by n steps.
    virtual void StepField(int n) = 0;

    // Right click: the list to show, or none (no field, a list already open, or the field
    // changes without one). The field the list belongs to becomes the selected one.
    std::optional<CFieldChoices> OpenChooser();
    // The list closed: picked with the entry's index, or dismissed.
    void ApplyChoice(bool picked, int index);
    bool ChooserOpen() const { return m_chooser.has_value(); }

    // The selection as character positions; the end may lie past the text (the control clips).
    int SelStart() const { return m_selStart; }
    int SelEnd() const { return m_selEnd; }
    int LastField() const { return m_field; }

protected:
    // The field a right click works on, or -1.
    virtual int ChooserField() const = 0;
    virtual void SelectField(int field) = 0;
    // The list for a field, or none when the right click acts at once.
    virtual std::optional<CFieldChoices> ChoicesFor(int field) = 0;
    virtual void Apply(int field, int value) = 0;

    void Select(int start, int end) {
        m_selStart = start;
        m_selEnd = end;
    }

    int m_selStart = 0, m_selEnd = 0;
    int m_field = -1;

private:
    int m_savedSelStart = 0, m_savedSelEnd = 0;
    int m_chooserField = -1;
    std::optional<CFieldChoices> m_chooser;
};
