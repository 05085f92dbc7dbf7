#include "core/manager/CFieldEditor.h"

std::optional<CFieldChoices> CFieldEditor::OpenChooser() {
    if (m_chooser) return std::nullopt;
    const int field = ChooserField();
    if (field < 0) return std::nullopt;
    // Selecting the list's field first keeps the highlight, the list's place and the field
    // a pick changes in agreement.
    SelectField(field);
    std::optional<CFieldChoices> list = ChoicesFor(field);
    if (!list) return std::nullopt;
    m_savedSelStart = m_selStart;
    m_savedSelEnd = m_selEnd;
    m_chooserField = field;
    m_chooser = list;
    return list;
}

void CFieldEditor::ApplyChoice(bool picked, int index) {
    if (!m_chooser) return;
    const CFieldChoices list = *m_chooser;
    m_chooser.reset();
    Select(m_savedSelStart, m_savedSelEnd);
    if (picked && index >= 0 && index < static_cast<int>(list.values.size()))
        Apply(m_chooserField, list.values[index]);
}
