#include "core/model/CNoteStore.h"

#include <algorithm>

CNoteStore::~CNoteStore() {
    Clear();
}

CNote& CNoteStore::AddNote(std::unique_ptr<CNote> note) {
    m_notes.push_back(std::move(note));
    return *m_notes.back();
}

void CNoteStore::RemoveNote(CNote& note) {
    note.CloseWindow();
    // Searched from the end: the note removed is most often a recent one.
    auto it = std::find_if(m_notes.rbegin(), m_notes.rend(),
                           [&](const std::unique_ptr<CNote>& n) { return n.get() == &note; });
    if (it != m_notes.rend()) m_notes.erase(std::next(it).base());
}

void CNoteStore::RemoveNotes(const std::unordered_set<const CNote*>& notes) {
    if (notes.empty()) return;
    for (const auto& n : m_notes)
        if (notes.count(n.get())) n->CloseWindow();
    std::erase_if(m_notes, [&](const std::unique_ptr<CNote>& n) { return notes.count(n.get()); });
}

CNote* CNoteStore::FindByWindow(const INoteWindow* window) const {
    if (!window) return nullptr;
    for (const auto& n : m_notes)
        if (n->Window() == window) return n.get();
    return nullptr;
}

int CNoteStore::IndexOf(const CNote& note) const {
    for (size_t i = 0; i < m_notes.size(); ++i)
        if (m_notes[i].get() == &note) return static_cast<int>(i);
    return -1;
}

CTreeNode& CNoteStore::AddCategory(std::unique_ptr<CTreeNode> category) {
    m_categories.push_back(std::move(category));
    return *m_categories.back();
}

CMailAccount& CNoteStore::AddAccount(std::unique_ptr<CMailAccount> account) {
    m_accounts.push_back(std::move(account));
    return *m_accounts.back();
}

void CNoteStore::RemoveAccount(size_t index) {
    if (index < m_accounts.size()) m_accounts.erase(m_accounts.begin() + index);
}

void CNoteStore::Clear() {
    for (const auto& n : m_notes)
        n->CloseWindow();
    m_notes.clear();
    m_categories.clear();
    m_accounts.clear();
}
